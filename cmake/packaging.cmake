# What `make install`, the archives and the Debian package carry: the
# program, README, LICENSE, the guide and the other documents, the manual
# page and the examples with their expected outputs.
#
# On Windows everything sits in one folder: ecoassess.exe, README.md,
# LICENSE, docs/ and examples/. Elsewhere: bin/ecoassess,
# share/man/man1/ecoassess.1 and share/doc/ecoassess/ (the documents and
# examples/). The program finds its guide by these two layouts
# (src/run/about.cpp).
if(WIN32)
  set(ECO_BIN_DIR .)
  set(ECO_DOC_DIR .)
  set(ECO_GUIDE_DIR docs)
else()
  set(ECO_BIN_DIR bin)
  set(ECO_DOC_DIR share/doc/ecoassess)
  set(ECO_GUIDE_DIR share/doc/ecoassess)
  install(FILES docs/ecoassess.1 DESTINATION share/man/man1)
endif()

install(TARGETS ecoassess RUNTIME DESTINATION ${ECO_BIN_DIR})
install(FILES README.md LICENSE DESTINATION ${ECO_DOC_DIR})
install(FILES docs/guide.md docs/exports.md docs/performance.md docs/numerics.md
        DESTINATION ${ECO_GUIDE_DIR})
# The examples as in the repository: inputs, their tables as CSV and
# expected/, not the results of `make example` that may lie beside the
# inputs (the exports' CSV files included).
install(DIRECTORY examples/ DESTINATION ${ECO_DOC_DIR}/examples
        REGEX "/examples/[^/]+/[^/]+\\.(ASS|SIM|DEN|BIO|NSP|html)$" EXCLUDE
        REGEX "/examples/[^/]+/[^/]+\\.(tables|assessment|species)\\.csv$" EXCLUDE
        REGEX "__pycache__" EXCLUDE)

set(CPACK_PACKAGE_NAME ecoassess)
set(CPACK_PACKAGE_VENDOR "the ecoassess developers")
set(CPACK_PACKAGE_CONTACT "the ecoassess developers <ecoassess@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Ecological quality assessment of species samples")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
if(WIN32)
  set(ECO_PACKAGE_SYSTEM windows)
else()
  string(TOLOWER ${CMAKE_SYSTEM_NAME} ECO_PACKAGE_SYSTEM)
endif()
set(ECO_PACKAGE_PROCESSOR ${CMAKE_SYSTEM_PROCESSOR})
if(ECO_PACKAGE_PROCESSOR MATCHES "^(AMD64|amd64|x64)$")
  set(ECO_PACKAGE_PROCESSOR x86_64)
elseif(ECO_PACKAGE_PROCESSOR MATCHES "^(arm64|ARM64)$")
  set(ECO_PACKAGE_PROCESSOR aarch64)
endif()
set(CPACK_PACKAGE_FILE_NAME
    "ecoassess-${PROJECT_VERSION}-${ECO_PACKAGE_SYSTEM}-${ECO_PACKAGE_PROCESSOR}")
if(WIN32)
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_GENERATOR TGZ)
endif()

# The Debian package (cpack -G DEB): /usr/bin/ecoassess, the manual page
# and /usr/share/doc/ecoassess/.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# (The summary above is the first line of the description.)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Compares the assessment stations of a survey with random pseudo-samples of\nits reference stations on similarity, number of species, density and\nbiomass. MIT licence.")
set(CPACK_DEB_COMPONENT_INSTALL OFF)
include(CPack)
