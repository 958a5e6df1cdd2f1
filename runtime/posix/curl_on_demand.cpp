// libcurl is opened at the first transfer, not when a program starts: a start that only hands
// over (the platform started by hand, the updater starting a tool) never pays for loading it and
// what it brings (TLS libraries that set themselves up as they load). The programs call the
// functions below by libcurl's own names; each finds its namesake in the library when first
// called. A machine without libcurl gets failed transfers, as it would without a network.
#define CURL_DISABLE_TYPECHECK
#include <curl/curl.h>
#include <dlfcn.h>

#include <cstdarg>
#include <cstdio>

namespace {

void* Library() {
  static void* const library = [] {
    void* opened = dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
    if (!opened) std::fprintf(stderr, "kesto: libcurl cannot be loaded: %s\n", dlerror());
    return opened;
  }();
  return library;
}

template <class Function>
Function Find(const char* name) {
  void* library = Library();
  return library ? reinterpret_cast<Function>(dlsym(library, name)) : nullptr;
}

// The library's function of the same name as the one this is used in, found once.
#define KESTO_REAL(name) static const auto real = Find<decltype(&name)>(#name)

}  // namespace

extern "C" {

CURLcode curl_global_init(long flags) {
  KESTO_REAL(curl_global_init);
  return real ? real(flags) : CURLE_FAILED_INIT;
}

CURL* curl_easy_init() {
  KESTO_REAL(curl_easy_init);
  return real ? real() : nullptr;
}

void curl_easy_cleanup(CURL* handle) {
  KESTO_REAL(curl_easy_cleanup);
  if (real) real(handle);
}

CURLcode curl_easy_perform(CURL* handle) {
  KESTO_REAL(curl_easy_perform);
  return real ? real(handle) : CURLE_FAILED_INIT;
}

CURLcode curl_easy_pause(CURL* handle, int bitmask) {
  KESTO_REAL(curl_easy_pause);
  return real ? real(handle, bitmask) : CURLE_FAILED_INIT;
}

// The value's type follows from the option's number, as libcurl reads it.
CURLcode curl_easy_setopt(CURL* handle, CURLoption option, ...) {
  KESTO_REAL(curl_easy_setopt);
  if (!real) return CURLE_FAILED_INIT;
  va_list values;
  va_start(values, option);
  CURLcode result;
  if (option < CURLOPTTYPE_OBJECTPOINT) {
    result = real(handle, option, va_arg(values, long));
  } else if (option >= CURLOPTTYPE_OFF_T && option < CURLOPTTYPE_BLOB) {
    result = real(handle, option, va_arg(values, curl_off_t));
  } else {
    result = real(handle, option, va_arg(values, void*));
  }
  va_end(values);
  return result;
}

// Every answer is written through a pointer.
CURLcode curl_easy_getinfo(CURL* handle, CURLINFO info, ...) {
  KESTO_REAL(curl_easy_getinfo);
  if (!real) return CURLE_FAILED_INIT;
  va_list values;
  va_start(values, info);
  const CURLcode result = real(handle, info, va_arg(values, void*));
  va_end(values);
  return result;
}

CURLM* curl_multi_init() {
  KESTO_REAL(curl_multi_init);
  return real ? real() : nullptr;
}

CURLMcode curl_multi_cleanup(CURLM* multi) {
  KESTO_REAL(curl_multi_cleanup);
  return real ? real(multi) : CURLM_INTERNAL_ERROR;
}

CURLMcode curl_multi_add_handle(CURLM* multi, CURL* handle) {
  KESTO_REAL(curl_multi_add_handle);
  return real ? real(multi, handle) : CURLM_INTERNAL_ERROR;
}

CURLMcode curl_multi_remove_handle(CURLM* multi, CURL* handle) {
  KESTO_REAL(curl_multi_remove_handle);
  return real ? real(multi, handle) : CURLM_INTERNAL_ERROR;
}

CURLMcode curl_multi_perform(CURLM* multi, int* running) {
  KESTO_REAL(curl_multi_perform);
  return real ? real(multi, running) : CURLM_INTERNAL_ERROR;
}

CURLMcode curl_multi_poll(CURLM* multi, curl_waitfd extra[], unsigned int count, int timeout,
                          int* ready) {
  KESTO_REAL(curl_multi_poll);
  return real ? real(multi, extra, count, timeout, ready) : CURLM_INTERNAL_ERROR;
}

CURLMsg* curl_multi_info_read(CURLM* multi, int* left) {
  KESTO_REAL(curl_multi_info_read);
  return real ? real(multi, left) : nullptr;
}

CURLSH* curl_share_init() {
  KESTO_REAL(curl_share_init);
  return real ? real() : nullptr;
}

CURLSHcode curl_share_cleanup(CURLSH* share) {
  KESTO_REAL(curl_share_cleanup);
  return real ? real(share) : CURLSHE_INVALID;
}

// What to share is a number; the lock functions and their data are pointers.
CURLSHcode curl_share_setopt(CURLSH* share, CURLSHoption option, ...) {
  KESTO_REAL(curl_share_setopt);
  if (!real) return CURLSHE_INVALID;
  va_list values;
  va_start(values, option);
  CURLSHcode result;
  if (option == CURLSHOPT_SHARE || option == CURLSHOPT_UNSHARE) {
    result = real(share, option, va_arg(values, int));
  } else {
    result = real(share, option, va_arg(values, void*));
  }
  va_end(values);
  return result;
}

curl_slist* curl_slist_append(curl_slist* list, const char* text) {
  KESTO_REAL(curl_slist_append);
  return real ? real(list, text) : nullptr;
}

void curl_slist_free_all(curl_slist* list) {
  KESTO_REAL(curl_slist_free_all);
  if (real) real(list);
}

void curl_free(void* pointer) {
  KESTO_REAL(curl_free);
  if (real) real(pointer);
}

CURLU* curl_url() {
  KESTO_REAL(curl_url);
  return real ? real() : nullptr;
}

void curl_url_cleanup(CURLU* address) {
  KESTO_REAL(curl_url_cleanup);
  if (real) real(address);
}

CURLUcode curl_url_get(CURLU* address, CURLUPart part, char** text, unsigned int flags) {
  KESTO_REAL(curl_url_get);
  return real ? real(address, part, text, flags) : CURLUE_OUT_OF_MEMORY;
}

CURLUcode curl_url_set(CURLU* address, CURLUPart part, const char* text, unsigned int flags) {
  KESTO_REAL(curl_url_set);
  return real ? real(address, part, text, flags) : CURLUE_OUT_OF_MEMORY;
}

}  // extern "C"
