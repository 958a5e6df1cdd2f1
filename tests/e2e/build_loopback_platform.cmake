# Builds the platform and up.qmz a second time, with the built-in settings pointing at the demo
# site on 127.0.0.1:PORT, for the end-to-end tests of a build that points elsewhere.
# It carries a key pair of its own (the vendor's key is not passed), so that the tests can sign
# releases for it, and the release version of the build it stands in for.
#   cmake -DSOURCE=... -DBINARY=... -DBUILD_TYPE=... -DSANITIZE=... -DPORT=... -DVERSION=...
#         -P this file
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${BINARY} -DCMAKE_BUILD_TYPE=${BUILD_TYPE}
          -DKESTO_SANITIZE=${SANITIZE} -DKESTO_WEB_HOST=127.0.0.1:${PORT}
          -DKESTO_PAY_SITE=http://127.0.0.1:${PORT}/pay/ -DKESTO_UPDATE_HOST=127.0.0.1
          -DKESTO_UPDATE_PORT=${PORT} -DKESTO_VERSION=${VERSION}
  RESULT_VARIABLE configured)
if(NOT configured EQUAL 0)
  message(FATAL_ERROR "configuring ${BINARY} failed")
endif()
cmake_host_system_information(RESULT cores QUERY NUMBER_OF_LOGICAL_CORES)
execute_process(
  COMMAND ${CMAKE_COMMAND} --build ${BINARY} --parallel ${cores} --target kesto kesto_updater
  RESULT_VARIABLE built)
if(NOT built EQUAL 0)
  message(FATAL_ERROR "building the loopback platform in ${BINARY} failed")
endif()
