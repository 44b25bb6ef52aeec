# Installs the build into WORK_DIR/root with DESTDIR and the prefix /usr (or, given DEB, unpacks
# that Debian package there), then runs the installed brindle-cli on a picture made by ImageMagick
# and checks the result's size. Given DEB, the package must also list the manual pages, the
# metainfo and the completion, and lintian must find no error in it.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/out)
if(DEB)
  execute_process(COMMAND dpkg -x ${DEB} ${WORK_DIR}/root RESULT_VARIABLE status)
  set(how "dpkg -x ${DEB}")
else()
  set(ENV{DESTDIR} ${WORK_DIR}/root)
  execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr
    RESULT_VARIABLE status OUTPUT_QUIET)
  set(how "cmake --install")
endif()
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${how} failed: ${status}")
endif()
set(cli ${WORK_DIR}/root/usr/bin/brindle-cli)
foreach(file ${cli} ${WORK_DIR}/root/usr/bin/brindle
    ${WORK_DIR}/root/usr/share/brindle/magick/policy.xml
    ${WORK_DIR}/root/usr/share/brindle/icc/sRGB.icc
    ${WORK_DIR}/root/usr/share/applications/brindle.desktop
    ${WORK_DIR}/root/usr/share/icons/hicolor/scalable/apps/brindle.svg
    ${WORK_DIR}/root/usr/share/man/man1/brindle.1.gz
    ${WORK_DIR}/root/usr/share/man/man1/brindle-cli.1.gz
    ${WORK_DIR}/root/usr/share/metainfo/example.brindle.Brindle.metainfo.xml
    ${WORK_DIR}/root/usr/share/bash-completion/completions/brindle-cli
    ${WORK_DIR}/root/usr/share/doc/brindle/copyright)
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
execute_process(COMMAND appstreamcli validate --no-net
    ${WORK_DIR}/root/usr/share/metainfo/example.brindle.Brindle.metainfo.xml
  RESULT_VARIABLE status OUTPUT_VARIABLE validated ERROR_VARIABLE validated)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the installed metainfo does not validate:\n${validated}")
endif()
if(DEB)
  execute_process(COMMAND dpkg -c ${DEB} OUTPUT_VARIABLE listing RESULT_VARIABLE status)
  foreach(path usr/share/man/man1/brindle.1.gz usr/share/man/man1/brindle-cli.1.gz
      usr/share/metainfo/example.brindle.Brindle.metainfo.xml
      usr/share/bash-completion/completions/brindle-cli)
    string(FIND "${listing}" "./${path}\n" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "dpkg -c does not list ${path}:\n${listing}")
    endif()
  endforeach()
  # lintian's errors (E: lines) fail the package; its warnings are shown.
  execute_process(COMMAND lintian --tag-display-limit 0 ${DEB}
    OUTPUT_VARIABLE findings ERROR_VARIABLE findings)
  message(STATUS "lintian ${DEB}:\n${findings}")
  if(findings MATCHES "(^|\n)E: ")
    message(FATAL_ERROR "lintian found errors in ${DEB}")
  endif()
endif()
# brindle-cli reads no preferences: it must not need Qt.
execute_process(COMMAND readelf -d ${cli} OUTPUT_VARIABLE dynamic)
if(dynamic MATCHES "libQt6")
  message(FATAL_ERROR "brindle-cli needs Qt: ${dynamic}")
endif()
execute_process(COMMAND convert -size 64x48 gradient:red-blue ${WORK_DIR}/photo.png
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "could not make the test picture")
endif()
execute_process(COMMAND ${cli} batch --out ${WORK_DIR}/out bSize=1 sizeValue=32 ${WORK_DIR}/photo.png
  RESULT_VARIABLE status ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "installed brindle-cli exited ${status}: ${err}")
endif()
execute_process(COMMAND identify -format "%wx%h %m" ${WORK_DIR}/out/photo.jpg
  OUTPUT_VARIABLE shown RESULT_VARIABLE status)
if(NOT shown STREQUAL "32x24 JPEG")
  message(FATAL_ERROR "installed brindle-cli wrote \"${shown}\", not a 32x24 JPEG")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
