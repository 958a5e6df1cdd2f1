# The vendor's public keys every build carries: the updates, the updater and the catalogue's
# applications are accepted only when one of them signed the feed that describes them.
#
# KESTO_VENDOR_KEY lists the vendor's keys (the current one, and the next one while a key is
# being replaced), separated by ",", each the hexadecimal digits of its DER
# SubjectPublicKeyInfo. Left empty, the build makes a key pair of its own in
# <build>/vendor-key/vendor.pem (for the demo and the tests, which sign their own releases with
# it; KESTO_BUILD_VENDOR_PEM names it). A key that is not a P-256 public key stops the configure
# step: a build must never ship without the key it was meant to have.
find_program(KESTO_OPENSSL openssl REQUIRED)
find_program(KESTO_PYTHON3 python3 REQUIRED)

set(KESTO_BUILD_VENDOR_PEM "")
set(vendor_keys "${KESTO_VENDOR_KEY}")
if(vendor_keys STREQUAL "")
  set(KESTO_BUILD_VENDOR_PEM ${CMAKE_BINARY_DIR}/vendor-key/vendor.pem)
  if(NOT EXISTS ${KESTO_BUILD_VENDOR_PEM})
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/vendor-key)
    execute_process(COMMAND ${KESTO_OPENSSL} ecparam -genkey -name prime256v1 -noout
                            -out ${KESTO_BUILD_VENDOR_PEM}
                    RESULT_VARIABLE made ERROR_QUIET)
    if(NOT made EQUAL 0)
      message(FATAL_ERROR "openssl could not make the build's vendor key pair")
    endif()
    message(STATUS "No KESTO_VENDOR_KEY: this build signs with a key pair of its own, "
                   "${KESTO_BUILD_VENDOR_PEM} (for the demo and the tests, not for a release)")
  endif()
  execute_process(COMMAND sh -c "'${KESTO_OPENSSL}' ec -in '${KESTO_BUILD_VENDOR_PEM}' -pubout -outform DER 2>/dev/null | od -An -v -tx1 | tr -d ' \\n'"
                  OUTPUT_VARIABLE vendor_keys)
endif()

# Each key checked by openssl itself: it must read as a public key on the P-256 curve.
string(REPLACE "," ";" vendor_key_list "${vendor_keys}")
set(KESTO_VENDOR_KEYS "")
foreach(key ${vendor_key_list})
  string(STRIP "${key}" key)
  string(TOLOWER "${key}" key)
  set(der ${CMAKE_BINARY_DIR}/vendor-key/check.der)
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/vendor-key)
  execute_process(COMMAND ${KESTO_PYTHON3} -c
                          "import sys; open(sys.argv[1], 'wb').write(bytes.fromhex(sys.argv[2]))"
                          ${der} "${key}"
                  RESULT_VARIABLE written OUTPUT_QUIET ERROR_QUIET)
  set(curve "")
  if(written EQUAL 0)
    execute_process(COMMAND ${KESTO_OPENSSL} pkey -pubin -inform DER -in ${der} -noout -text
                    RESULT_VARIABLE read OUTPUT_VARIABLE curve ERROR_QUIET)
  endif()
  file(REMOVE ${der})
  if(NOT written EQUAL 0 OR NOT read EQUAL 0 OR NOT curve MATCHES "prime256v1")
    message(FATAL_ERROR "KESTO_VENDOR_KEY: \"${key}\" is not a P-256 public key in hexadecimal "
                        "digits of its DER SubjectPublicKeyInfo (openssl ec -pubout -outform DER)")
  endif()
  list(APPEND KESTO_VENDOR_KEYS ${key})
endforeach()
if(NOT KESTO_VENDOR_KEYS)
  message(FATAL_ERROR "KESTO_VENDOR_KEY holds no key")
endif()
list(JOIN KESTO_VENDOR_KEYS "," KESTO_VENDOR_KEYS)
