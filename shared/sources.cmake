list(APPEND PORTABLE_SOURCES
  shared/ScreenMonitorManager.cpp)
list(APPEND WIN_SOURCES
  shared/VH_Common_Var.cpp
  shared/screen_cursor.cpp
  shared/screen_snapshot.cpp)
