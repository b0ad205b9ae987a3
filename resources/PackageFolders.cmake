# Run by CPack once the files to package are staged: every folder in the
# package is open to all to read, also when whoever packages has a strict
# umask, under which the staged folders are made closed to others.
file(GLOB_RECURSE staged LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/*")
set(folders "")
foreach(path ${staged})
  if(IS_DIRECTORY "${path}" AND NOT IS_SYMLINK "${path}")
    list(APPEND folders "${path}")
  endif()
endforeach()
if(folders)
  file(CHMOD ${folders} DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endif()
