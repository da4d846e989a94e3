# Run by CPack on the staged package before it packs it: the copyright file,
# the changelog and the manual pages as Debian wants them, compressed with
# gzip -9n so that the package is the same from one build to the next.
if(CPACK_DEB_LINKED_WHOLE)
  message(FATAL_ERROR "The Debian package takes the programs linked as usual: configure with -DSTATIC=OFF")
endif()
# dpkg and lintian take the release from the changelog's top entry.
file(STRINGS ${CPACK_DEB_SOURCE}/changelog top LIMIT_COUNT 1)
if(NOT top MATCHES "^${CPACK_PACKAGE_NAME} \\(${CPACK_PACKAGE_VERSION}\\) ")
  message(FATAL_ERROR "${CPACK_DEB_SOURCE}/changelog: its top entry is not of release ${CPACK_PACKAGE_VERSION}")
endif()

set(usr ${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
set(doc ${usr}/share/doc/${CPACK_PACKAGE_NAME})
file(MAKE_DIRECTORY ${doc})
file(COPY_FILE ${CPACK_DEB_SOURCE}/copyright ${doc}/copyright)
execute_process(COMMAND gzip -9n -c ${CPACK_DEB_SOURCE}/changelog OUTPUT_FILE ${doc}/changelog.gz
                COMMAND_ERROR_IS_FATAL ANY)
# The programs, stripped by the installation, lose the compiler's notes too.
file(GLOB programs ${usr}/bin/*)
if(programs)
  execute_process(COMMAND ${CPACK_DEB_STRIP} --remove-section=.comment --remove-section=.note ${programs}
                  COMMAND_ERROR_IS_FATAL ANY)
endif()
file(GLOB pages ${usr}/share/man/man1/*.1)
foreach(page ${pages})
  execute_process(COMMAND gzip -9nf ${page} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
# Readable by all, whatever the umask of the build.
file(CHMOD ${doc}/copyright ${doc}/changelog.gz PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
file(CHMOD ${usr}/share/doc ${doc} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                               WORLD_READ WORLD_EXECUTE)
