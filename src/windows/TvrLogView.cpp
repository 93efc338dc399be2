// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "windows/TvrLogView.h"

#include <QDateTime>
#include <QScrollBar>
#include <vector>

#include "aggregation/TvrSourceFiles.h"

namespace tavrel {

namespace {

// Lines sent within this many milliseconds of the first make a burst; of a
// burst, the first lines are painted one by one, the rest together when the
// next burst starts or the run ends.
constexpr qint64 kBurstInterval = 15;
constexpr int32_t kBurstLinesPainted = 4;

} // namespace

TTvrLogView::TTvrLogView(QWidget* AParent) : QPlainTextEdit(AParent)
{
    setReadOnly(true);
}

void TTvrLogView::Append(const std::string& AMessage)
{
    const std::vector<std::string> Lines = LogLines(AMessage);
    for (const std::string& Line : Lines)
        FPending.append(QString::fromStdString(Line));
    const qint64 Now = QDateTime::currentMSecsSinceEpoch();
    if (Now - FBurstStart >= kBurstInterval) {
        FBurstStart = Now;
        FBurstLines = 0;
    }
    FBurstLines += static_cast<int32_t>(Lines.size());
    if (FBurstLines <= kBurstLinesPainted)
        Flush();
}

void TTvrLogView::Flush()
{
    if (FPending.isEmpty())
        return;
    // The lines held back go in at once, which keeps a log of many thousand
    // rejected rows quick.
    appendPlainText(FPending.join(u'\n'));
    FPending.clear();
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    // The run holds the event loop: the log is painted here and now, and no
    // input is taken, so no second run can start.
    repaint();
}

void TTvrLogView::Clear()
{
    clear();
    FPending.clear();
    FBurstStart = 0;
}

} // namespace tavrel
