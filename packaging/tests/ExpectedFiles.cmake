# Everything an installation holds, relative to its prefix.
set(EXPECTED_FILES
  bin/quillmere
  bin/quillmere-cli
  share/applications/quillmere.desktop
  share/mime/packages/quillmere.xml
  share/icons/hicolor/scalable/apps/quillmere.svg
  share/man/man1/quillmere.1.gz
  share/man/man1/quillmere-cli.1.gz)
file(GLOB manual_files RELATIVE ${MANUAL_DIR} ${MANUAL_DIR}/*)
foreach(file IN LISTS manual_files)
  list(APPEND EXPECTED_FILES ${DOCDIR}/manual/${file})
endforeach()
