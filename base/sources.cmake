list(APPEND PORTABLE_SOURCES
  base/error.cpp
  base/integer_text.cpp
  base/png_decoder.cpp
  base/strings.cpp
  base/text_encoding.cpp
  base/utf8.cpp)
list(APPEND WIN_SOURCES
  base/callback_guard.cpp
  base/file_system.cpp
  base/message_pump.cpp
  base/resource_data.cpp
  base/run_facts.cpp
  base/setup_log.cpp
  base/sha256.cpp
  base/system_error.cpp
  base/system_library.cpp
  base/text_file.cpp
  base/window_base.cpp)
