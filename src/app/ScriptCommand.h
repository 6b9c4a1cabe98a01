// Script command lines as text: a command line becomes a request and the window command its
// action stands for. Nothing here touches a window, so the parse runs without a display; the
// caller opens the window and carries out the command.
#pragma once

#include <cstddef>
#include <string_view>

struct BarCodeDataRec;

// The longest command line that is carried out.
inline constexpr size_t kScriptMaxCharacters = 32767;

// Parses one command line: action (4 characters), any separator, then "name data addon". True with
// the request in rec and the action's window command in command; false, both untouched, for
// anything malformed (too short or too long, no blank, unknown name or action).
bool ParseAEScript(std::string_view text, BarCodeDataRec* rec, std::string_view& command);
