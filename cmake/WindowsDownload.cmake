# The Windows download: the programs (sqlupdate.exe with the window, its
# console twin sqlupdate.com, standin-sql.exe), the example settings and the read-me
# files (with Windows line ends) as dist/sqlupdate-VERSION-windows-x64.zip.
if(WIN32 AND TARGET sqlupdate AND TARGET standin-sql)
  set(dist_name sqlupdate-${PROJECT_VERSION}-windows-x64)
  set(dist_dir ${CMAKE_BINARY_DIR}/dist/${dist_name})
  set(dist_zip ${CMAKE_SOURCE_DIR}/dist/${dist_name}.zip)
  set(dist_texts)
  foreach(text LIESMICH.txt README.txt SysDBAdo.INI)
    configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/${text} ${CMAKE_BINARY_DIR}/dist/texts/${text} @ONLY NEWLINE_STYLE CRLF)
    list(APPEND dist_texts ${CMAKE_BINARY_DIR}/dist/texts/${text})
  endforeach()
  add_custom_command(
    OUTPUT ${dist_zip}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${dist_dir}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dist_dir} ${CMAKE_SOURCE_DIR}/dist
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:sqlupdate> $<TARGET_FILE:sqlupdate_console> $<TARGET_FILE:standin-sql> ${dist_texts} ${dist_dir}
    COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/dist ${CMAKE_COMMAND} -E tar cf ${dist_zip} --format=zip
            ${dist_name}
    DEPENDS sqlupdate sqlupdate_console standin-sql ${dist_texts}
    COMMENT "Writing dist/${dist_name}.zip")
  add_custom_target(dist DEPENDS ${dist_zip})
endif()
