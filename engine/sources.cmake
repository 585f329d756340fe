list(APPEND PORTABLE_SOURCES
  )
list(APPEND WIN_SOURCES
  engine/file_ops.cpp
  )
