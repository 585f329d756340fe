list(APPEND PORTABLE_SOURCES
  shared/ScreenMonitorManager.cpp
  shared/message_layout.cpp
  shared/message_timing.cpp
  shared/wait_run_rules.cpp)
list(APPEND WIN_SOURCES
  shared/MessageForm.cpp
  shared/VH_Common_Var.cpp
  shared/WaitRun.cpp
  shared/button_glyph.cpp
  shared/screen_cursor.cpp
  shared/screen_snapshot.cpp)
