# The Debian package of the installed tree: cpack --config build/CPackConfig.cmake
# -G DEB (scripts/package builds and wraps it). The programs' dependencies come
# from the libraries they link (dpkg-shlibdeps); libtesmo travels in the
# package, which therefore also declares it (shlibs) and runs ldconfig.
set(CPACK_PACKAGE_NAME vorlan)
set(CPACK_PACKAGE_VENDOR "The Vorlan developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "word-frequency counter for English and Japanese text")
set(CPACK_PACKAGE_DESCRIPTION
  "Vorlan counts how often each word occurs in a set of text files, English or
Japanese Shift-JIS alike without being told which, and shows the result as a
sorted report: alphabetically in either direction, by word endings, or by
frequency, optionally with each word's share in percent.
.
The package holds the desktop program vorlan, the command-line counter
vorlan-count (the same report, or the word list as TSV, CSV or JSON), and
libtesmo, the library of Shift-JIS text functions they are built on, with its
header, pkg-config file and CMake package.")
set(CPACK_PACKAGE_CONTACT "The Vorlan developers <vorlan@invalid>"
  CACHE STRING "Maintainer of the Debian package")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Dictionary segmentation of Japanese text loads MeCab when it is asked for.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "mecab-ipadic-utf8, libmecab2")

include(CPack)
