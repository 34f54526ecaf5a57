# Debian packages through CPack: `tagwright` (the window program with its manual, menu entry,
# icons and metadata) and `tagwright-cli` (the command-line tool alone, without Qt). Each
# install() of the project names its component: gui or cli. scripts/package.sh builds them.

# Each package's copyright file and changelog, where Debian policy wants them.
find_program(TAGWRIGHT_GZIP gzip)
set(tagwright_changelog ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${tagwright_changelog}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging
  COMMAND sh -c "\"$1\" -9nc < \"$2\" > \"$3\"" sh ${TAGWRIGHT_GZIP}
          ${PROJECT_SOURCE_DIR}/packaging/changelog ${tagwright_changelog}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
  COMMENT "Debian changelog"
  VERBATIM)
add_custom_target(tagwright_changelog ALL DEPENDS ${tagwright_changelog})

set(tagwright_doc_components cli)
set(tagwright_doc_dirs ${TAGWRIGHT_CLI_DOCDIR})
if(TAGWRIGHT_GUI)
  list(APPEND tagwright_doc_components gui)
  list(APPEND tagwright_doc_dirs ${TAGWRIGHT_DOCDIR})
endif()
foreach(component docdir IN ZIP_LISTS tagwright_doc_components tagwright_doc_dirs)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${tagwright_changelog}
    DESTINATION ${docdir} COMPONENT ${component})
endforeach()

if(TAGWRIGHT_GUI)
  # The manual registered with doc-base, and what lintian is told about the window program.
  set(TAGWRIGHT_FULL_DOCDIR ${CMAKE_INSTALL_PREFIX}/${TAGWRIGHT_DOCDIR})
  configure_file(${PROJECT_SOURCE_DIR}/packaging/tagwright-manual.doc-base.in
    ${PROJECT_BINARY_DIR}/packaging/tagwright-manual @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/packaging/tagwright-manual
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc-base COMPONENT gui)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/tagwright.lintian-overrides
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides RENAME tagwright COMPONENT gui)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tagwright)
set(CPACK_PACKAGE_VENDOR "the Tagwright contributors")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${tagwright_doc_components})
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR})

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER
  "the Tagwright contributors <tagwright-maintainers@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SOURCE tagwright)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

set(CPACK_DEBIAN_GUI_PACKAGE_NAME tagwright)
set(CPACK_DEBIAN_GUI_PACKAGE_SUGGESTS tagwright-cli)
set(CPACK_DEBIAN_GUI_DESCRIPTION "keywords meta tag builder for HTML pages
Tagwright reads an HTML page, weighs every visible word by where it stands
(title, heading level, bold text, tables, the description and keywords meta
tags, font size), leaves out common, short, inflected and rare words, and then
lists the ranked words or composes a keywords meta tag from the best of them,
within a limit of keywords and bytes.
.
This package holds the desktop program with its user manual.")

set(CPACK_DEBIAN_CLI_PACKAGE_NAME tagwright-cli)
set(CPACK_DEBIAN_CLI_PACKAGE_SECTION utils)
# The completion file is read by bash-completion, which a stock system may lack.
set(CPACK_DEBIAN_CLI_PACKAGE_RECOMMENDS bash-completion)
set(CPACK_DEBIAN_CLI_DESCRIPTION "keywords meta tags for HTML pages, from the command line
tagwright-cli runs the analysis of the Tagwright desktop program on HTML pages:
it weighs every visible word by where it stands (title, heading level, bold
text, tables, the description and keywords meta tags, font size), lists the
ranked words, composes a keywords meta tag, shows the page's own tag, or
writes the new tag into the pages of a whole site.
.
This package holds the command-line tool alone; it needs no graphical
libraries.")

# The summaries are the first lines of the two descriptions above.
include(CPack)
