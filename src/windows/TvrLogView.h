// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// The main window's log of a run.

#include <QPlainTextEdit>
#include <QStringList>
#include <cstdint>
#include <string>

namespace tavrel {

// The log: read-only, one paragraph a line. A run holds the event loop, so
// the log paints itself as lines arrive: a line that says what the run
// does next (and may take long) at once, a burst of lines, such as the
// rejected rows of a table, a few times a second and in one piece.
class TTvrLogView : public QPlainTextEdit {
public:
    explicit TTvrLogView(QWidget* AParent);

    // The log callback of the run: each line of the message (split at CR LF,
    // CR and LF; an empty message is one empty line) goes to the log.
    void Append(const std::string& AMessage);
    // Moves the lines held back into the log and paints it.
    void Flush();
    // Empties the log and forgets the lines held back.
    void Clear();

private:
    qint64 FBurstStart = 0;
    int32_t FBurstLines = 0;
    QStringList FPending;
};

} // namespace tavrel
