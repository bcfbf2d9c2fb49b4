# Whether the downloads are signed, decided once when the native build is configured: signed when
# KOVAREN_SIGN_CERT (PEM: the certificate, then its chain) and KOVAREN_SIGN_KEY (its PEM private key)
# are set, time-stamped when KOVAREN_SIGN_TIMESTAMP_URL is set too. A certificate that cannot be read,
# a key that is not its own, or a key Smart App Control would refuse (not RSA) stops the build here,
# before anything is signed or packed. Sets KOVAREN_SIGN (ON/OFF), KOVAREN_SIGN_CERT_FILE,
# KOVAREN_SIGN_KEY_FILE, KOVAREN_SIGN_TIMESTAMP and KOVAREN_SIGN_STAMP (a file whose content changes
# with the signing identity, so that changing it signs and packs again).
set(KOVAREN_SIGN_CERT_FILE "$ENV{KOVAREN_SIGN_CERT}")
set(KOVAREN_SIGN_KEY_FILE "$ENV{KOVAREN_SIGN_KEY}")
set(KOVAREN_SIGN_TIMESTAMP "$ENV{KOVAREN_SIGN_TIMESTAMP_URL}")
set(KOVAREN_SIGN_STAMP ${CMAKE_BINARY_DIR}/signing-identity.txt)

function(kovaren_signing_fails what)
  message(FATAL_ERROR "build: cannot sign: ${what}")
endfunction()

# openssl_text OUT ARGS... : openssl's output, or the build stops with its message.
function(kovaren_openssl out what)
  execute_process(COMMAND openssl ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE text ERROR_VARIABLE error)
  if(NOT status EQUAL 0)
    kovaren_signing_fails("${what}: ${error}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

if(KOVAREN_SIGN_CERT_FILE STREQUAL "" AND KOVAREN_SIGN_KEY_FILE STREQUAL "")
  set(KOVAREN_SIGN OFF)
  set(identity "unsigned")
  message(STATUS "build: not signing the Windows downloads (KOVAREN_SIGN_CERT and KOVAREN_SIGN_KEY are not set)")
elseif(KOVAREN_SIGN_CERT_FILE STREQUAL "" OR KOVAREN_SIGN_KEY_FILE STREQUAL "")
  kovaren_signing_fails("KOVAREN_SIGN_CERT and KOVAREN_SIGN_KEY must be set together")
else()
  find_program(KOVAREN_OSSLSIGNCODE osslsigncode REQUIRED)
  foreach(file ${KOVAREN_SIGN_CERT_FILE} ${KOVAREN_SIGN_KEY_FILE})
    if(NOT IS_ABSOLUTE "${file}")
      kovaren_signing_fails("${file} is not an absolute path")
    endif()
    execute_process(COMMAND head -c1 -- "${file}" RESULT_VARIABLE unreadable OUTPUT_QUIET ERROR_QUIET)
    if(NOT EXISTS "${file}" OR IS_DIRECTORY "${file}" OR NOT unreadable EQUAL 0)
      kovaren_signing_fails("${file} cannot be read")
    endif()
  endforeach()
  kovaren_openssl(cert_key "${KOVAREN_SIGN_CERT_FILE} holds no PEM certificate"
    x509 -in ${KOVAREN_SIGN_CERT_FILE} -noout -pubkey)
  kovaren_openssl(own_key "${KOVAREN_SIGN_KEY_FILE} holds no PEM private key (or needs a pass phrase)"
    pkey -in ${KOVAREN_SIGN_KEY_FILE} -pubout -passin pass:)
  if(NOT cert_key STREQUAL own_key)
    kovaren_signing_fails("the key ${KOVAREN_SIGN_KEY_FILE} does not belong to the certificate ${KOVAREN_SIGN_CERT_FILE}")
  endif()
  kovaren_openssl(cert_text "${KOVAREN_SIGN_CERT_FILE} cannot be read" x509 -in ${KOVAREN_SIGN_CERT_FILE} -noout -text)
  if(NOT cert_text MATCHES "Public Key Algorithm: rsaEncryption")
    kovaren_signing_fails("the certificate's key is not RSA (Smart App Control accepts RSA signatures only)")
  endif()
  kovaren_openssl(fingerprint "${KOVAREN_SIGN_CERT_FILE} cannot be read"
    x509 -in ${KOVAREN_SIGN_CERT_FILE} -noout -fingerprint -sha256)
  string(STRIP "${fingerprint}" fingerprint)
  set(KOVAREN_SIGN ON)
  set(identity "${fingerprint} ${KOVAREN_SIGN_KEY_FILE} ${KOVAREN_SIGN_TIMESTAMP}")
  message(STATUS "build: signing the Windows downloads with ${KOVAREN_SIGN_CERT_FILE} (${fingerprint})")
endif()
# Written only when it changes, so an unchanged identity rebuilds nothing.
file(CONFIGURE OUTPUT ${KOVAREN_SIGN_STAMP} CONTENT "${identity}\n")
