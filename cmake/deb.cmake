# The Debian package of the tools, contest-tools_<version>_amd64.deb: in a
# build configured with -DSTATIC=OFF, "cpack -G DEB" in the build folder.
# The package takes the programs linked as usual, as a distribution's
# programs are: libc, libstdc++ and GMP then come from their own packages,
# with their security updates, and dpkg-shlibdeps finds the Depends. A jury
# that needs one self-contained file for a judging system builds it with the
# default STATIC=ON, or compiles the one-file sources the package carries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME contest-tools)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Seed f04d31d7 maintainers <maintainers@users.noreply.c-seed-f04d31d7.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "jury tools for the fence and register contest tasks")
set(CPACK_PACKAGE_DESCRIPTION "\
The fence task's test generator quillot, with quillot-gen, quillot-validate
and quillot-draw for its test sets, and the register task's answer checker
brannik, with its solver, test generator, replay, stress tester and its
checkers for testlib, Kattis and CMS. The one-file sources of the register
task's checker, solver and generator are in /usr/share/brannik.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# Manual pages and the changelog compressed as Debian wants them, and the
# copyright file: only the package has them, not "cmake --install".
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/deb/finish.cmake)
set(CPACK_DEB_SOURCE ${CMAKE_CURRENT_LIST_DIR}/deb)
set(CPACK_DEB_LINKED_WHOLE ${LINK_WHOLE})
set(CPACK_DEB_STRIP ${CMAKE_STRIP})
include(CPack)
if(WITH_TESTS)
  add_test(NAME deb.finish COMMAND ${CMAKE_CURRENT_LIST_DIR}/deb/finish_test.sh ${CMAKE_COMMAND} ${PROJECT_VERSION})
endif()
