// The command line's choices without /S: the wizard starts with them in its
// fields, and the person at the PC can still change them.
#pragma once

#include "app/command_line.h"
#include "app/main_window.h"

// Puts /D into the folder field, /DRIVER into the driver check box and
// /RUNTIME into the hidden runtime list; a switch not given leaves its
// field as the window made it. What was preset goes into the setup log.
void PresetWizard(TFMain& window, const CommandLine& commandLine);
