#pragma once

#include <span>
#include <string_view>

#include "engine/conversion.h"

// The settings the command line gives: "-d" the folder, "-f" the format (empty for the default),
// "-c" the combined name (empty for none), "-ntsc" NTSC instead of PAL, "-o" the minute offset,
// "--srt" or "--vtt" SubRip or WebVTT files instead of ".SUB" (the last of them counts; in any
// letter case, as a word of its own, so that neither is ever taken for one of the others).
// The folder, format and combined name come without leading and trailing white space (space,
// tab, LF, VT, FF, CR). Nothing is ever rejected: an option that cannot be read is ignored.

// Picks the settings out of the program's arguments (those after its name), as a POSIX shell
// delivers them: each argument is one word, white space and double quotes in it are ordinary
// characters. An option counts only at the start of an argument; its name matches ignoring
// case, each option is looked for on its own and the first argument starting with it wins.
// "-d", "-c" and "-f" take the rest of their argument when anything follows the name there
// (white space alone included, which trims to nothing), else the whole next argument. "-o" reads a
// signed decimal from that same text like atol() with a 32-bit long, clamping out-of-range values.
ConversionSettings ParseArguments(std::span<const char* const> arguments);

// Picks the settings out of a command-line tail, the command line after the program name as one
// string, as Windows delivers it. An option counts only where it starts a word (at the start or
// after white space) outside double-quoted text; the first such occurrence wins and its name
// matches ignoring case. "-d", "-c" and "-f" take a value in double quotes or up to the next
// space; a missing closing quote ignores the option. "-o" reads a signed decimal like atol()
// with a 32-bit long, clamping out-of-range values.
ConversionSettings ParseCommandLine(std::string_view tail);

// The command line after the program name and the white space after it, as Windows' start-up
// code hands it to a program: a name that starts with a double quote ends at the next one,
// another at the first space or control character.
std::string_view CommandLineTail(std::string_view commandLine);
