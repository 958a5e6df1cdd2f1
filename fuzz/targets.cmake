# The fuzz targets: each is <name>.cpp in this folder with its seed corpus in corpus/<name>/.
set(KESTO_FUZZ_TARGETS
  command_line
  gbk_text
  images
  platform_info
  profile_text
  release_feed
  response_headers
  url_cookies)

# The product sources they test, relative to the top of the tree; of the picture decoders only
# those of the POSIX build.
set(KESTO_FUZZ_PRODUCT_PATTERNS
  runtime/*.cpp runtime/posix/*.cpp runtime/image/gif_layout.cpp runtime/image/icon_file.cpp
  runtime/image/image_list.cpp
  runtime/image/picture.cpp runtime/image/picture_format.cpp runtime/image/picture_jpeg.cpp
  runtime/image/picture_pixbuf.cpp
  net/des_cipher.cpp net/response_headers.cpp net/url_helpers.cpp
  shell/platform_info_file.cpp update/app_key.cpp update/release_feed.cpp)
