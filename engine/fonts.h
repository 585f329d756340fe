// Installing the package's TrueType fonts into the system: a copy in the
// fonts folder, a machine-wide registry value, and one progress line each.
#pragma once

#include <windows.h>

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "engine/file_ops.h"

// Receives each progress line.
using FontLineSink = std::function<void(std::wstring_view line)>;

// Where fonts are installed.
struct FontTargets {
    std::wstring fontsFolder;
    HKEY registryRoot;
    std::wstring registryKey;  // opened, never created
};

// The system's own targets: the Windows folder's "fonts" (the relative
// "fonts" when the Windows folder is unknown) and HKEY_LOCAL_MACHINE
// "Software\Microsoft\Windows NT\CurrentVersion\Fonts". Never fails.
FontTargets SystemFontTargets();

// The package's fonts folder: "fonts" in installerFolder.
std::wstring PackageFontsFolder(std::wstring_view installerFolder);

// The file names of the seven package fonts, in installation order.
std::span<const wchar_t* const> FontFiles();

// Whether the font file name is installed: it lies in targets.fontsFolder
// and a value of the registry key names it (the bare name or a path ending
// in it, in any case, as Windows writes its own). Never fails.
bool IsFontInstalled(const FontTargets& targets, std::wstring_view name);

// Installs the seven package fonts from PackageFontsFolder in
// their fixed order with InstallFontFile. The first error ends it and
// passes on: later fonts are not tried and nothing is undone.
void InstallFonts(std::wstring_view installerFolder, const FontLineSink& addLine,
                  const FontTargets& targets = SystemFontTargets(), FileCopy copy = CopyFileWithDate);

// Installs name from sourceFolder unless IsFontInstalled (then nothing at all
// happens; a file without its value, left by a run that ended between the
// copy and the registration, is installed whole again): reads its face
// name, copies it with copy (CopyFileWithDate unless a test puts in
// another), writes the REG_SZ value "<face> (TrueType)" = name, announces
// the font to running programs and withdraws it from this session again
// (the registry value loads it at the next start), and adds
// the line "Шрифт <face> уcтановлен". Raises the copy's Error ("Cannot open
// file ..." for a missing source), "Cannot write file "<path>". <system
// text>" when the copy was not written whole, and "Failed to set data for
// '<value>'" when the registry key cannot be opened or written; in the last
// two cases the copy is removed again, so a later run retries the font, and
// no line is added. Refused announcements go into the setup log.
void InstallFontFile(std::wstring_view name, std::wstring_view sourceFolder, const FontTargets& targets,
                     const FontLineSink& addLine, FileCopy copy = CopyFileWithDate);

// The face (full) name of the font file at path, as GDI's
// GetFontResourceInfoW reports it, or where that yields nothing from the
// file's own name table. Empty when neither tells it. Never fails.
std::wstring ReadFontFaceName(std::wstring_view path);
