list(APPEND PORTABLE_SOURCES
  engine/counter_file.cpp
  engine/deployment_manifest.cpp
  engine/ini_document.cpp
  engine/font_name_table.cpp
  engine/package_choice.cpp
  engine/shortcut_name.cpp
  engine/space_rules.cpp
  )
list(APPEND WIN_SOURCES
  engine/Shortcut.cpp
  engine/fonts.cpp
  engine/package_choice_win.cpp
  engine/process_runner.cpp
  engine/release_info.cpp
  engine/source_hasher.cpp
  engine/file_ops.cpp
  engine/counter_file_win.cpp
  engine/database_swap.cpp
  engine/ini_file.cpp
  engine/held_file.cpp
  engine/install_sequence.cpp
  engine/install_space.cpp
  engine/installation_record.cpp
  engine/preflight.cpp
  engine/system_rights.cpp
  engine/tree_walk.cpp
  )
