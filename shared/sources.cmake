list(APPEND PORTABLE_SOURCES
  shared/ScreenMonitorManager.cpp
  shared/VH_Common_Const.cpp
  shared/VH_Common_Proc.cpp
  shared/ini_text.cpp
  shared/log_lines.cpp
  shared/number_format.cpp
  shared/settings_values.cpp
  shared/message_layout.cpp
  shared/message_timing.cpp
  shared/wait_run_rules.cpp)
list(APPEND WIN_SOURCES
  shared/VH_Common_Proc_win.cpp
  shared/MessageForm.cpp
  shared/VH_Common_Var.cpp
  shared/WaitRun.cpp
  shared/button_glyph.cpp
  shared/shared_units.cpp
  shared/unitMyLog.cpp
  shared/screen_cursor.cpp
  shared/screen_snapshot.cpp)
