// The running program as the system sees it: where its file lies and what
// its standard output is connected to.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The program's arguments, its name first, in UTF-8. POSIX systems hand
// `argv` over as it was typed; Windows hands it over in the ANSI code page,
// which loses every letter outside it, so there the wide command line is
// read instead.
std::vector<std::string> utf8_arguments(int argc, char** argv);

// The program's own file; nothing when the system does not tell.
std::optional<std::filesystem::path> executable_path();

// True when standard output is a terminal or console (not a file or pipe).
bool stdout_is_terminal();

// Prepares the console for UTF-8 output where it has a code page of its own
// (Windows); nothing elsewhere.
void use_utf8_console();

// True when the program was started into a console of its own (a
// double-click on Windows), not from a shell whose console it shares.
bool alone_in_console();

// Gives a console of its own back to the system, so that the window that
// follows does not stand beside an empty console.
void release_console();

// Shows `text` in a message box of the system; false where there is none.
bool show_message_box(const char* caption_utf8, const char* text_utf8);

}  // namespace platform
