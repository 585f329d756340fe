list(APPEND PORTABLE_SOURCES
  app/background.cpp
  app/command_line.cpp
  app/error_report.cpp
  app/folder_check.cpp)
list(APPEND WIN_SOURCES
  app/application.cpp
  app/removal_run.cpp
  app/bg_surface.cpp
  app/brand.cpp
  app/command_line_win.cpp
  app/english_yes_no.cpp
  app/install_session.cpp
  app/install_view_adapter.cpp
  app/large_fonts.cpp
  app/list_extent.cpp
  app/main_window.cpp
  app/panel.cpp
  app/resources_access.cpp
  app/run_log.cpp
  app/session_end.cpp
  app/side_panel_text_size.cpp
  app/single_instance.cpp
  app/soft_bevel.cpp
  app/unattended_run.cpp
  app/unattended_view.cpp
  app/wizard_layout.cpp
  app/wizard_presets.cpp)
