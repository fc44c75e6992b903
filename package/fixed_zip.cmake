# Run by CPack once the ZIP is made: see fixed_zip.py.
foreach(archive IN LISTS CPACK_PACKAGE_FILES)
  execute_process(COMMAND ${CPACK_FIXED_ZIP_PYTHON} -B ${CMAKE_CURRENT_LIST_DIR}/fixed_zip.py
                          ${archive} ${CPACK_FIXED_ZIP_DATE}
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()
