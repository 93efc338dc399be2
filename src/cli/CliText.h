// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>
#include <string_view>

namespace tavrel {

// A line as it may go to a terminal: every control character (C0, DEL and
// C1) and every byte that is not valid UTF-8 becomes U+FFFD. A log line can
// quote field texts of the tables, and a table must not be able to send
// escape sequences to the treasurer's terminal.
std::string TerminalText(std::string_view ALine);

} // namespace tavrel
