#pragma once

// The in-house helpers every window shares: message boxes, row heights and
// cell text for owner-drawn lists and grids, icon-and-text drawing, path
// names, the folder picker, the browse button and per-item hints.

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QIcon>
#include <QImage>
#include <QMainWindow>
#include <QMessageBox>
#include <QModelIndex>
#include <QObject>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "tables/TvrValue.h"

class QAbstractButton;
class QLabel;
class QPainter;
class QFileIconProvider;

namespace tavrel {

// ---------------------------------------------------------------- messages

enum TNbMessageKind { nmkWarning, nmkError, nmkInformation, nmkNotice, nmkQuestion };
enum TNbMessageButtons { nmbOk, nmbOkCancel, nmbAbortRetryIgnore, nmbYesNoCancel, nmbYesNo, nmbRetryCancel };
enum TNbMessageAnswer {
    nmaOk = 0,
    nmaCancel = 1,
    nmaAbort = 2,
    nmaRetry = 3,
    nmaIgnore = 4,
    nmaYes = 5,
    nmaNo = 6,
    nmaNone = 255
};

// The text as the box shows it: a doubled backslash stands for one
// backslash; "~n", then "\r\n", "\n" and "\r" (the literal pairs, any letter
// case) become line feeds.
QString MessageBoxText(const QString& AText);
// AppProgramName, or the program file's name without folder and extension.
QString MessageBoxCaption();
QMessageBox::Icon MessageBoxIcon(TNbMessageKind AKind);
QMessageBox::StandardButtons MessageBoxButtons(TNbMessageButtons AButtons);
// OK, Cancel, Abort, Retry, Ignore, Yes and No to their answers; anything
// else to nmaNone.
TNbMessageAnswer MessageBoxAnswer(int AResult);

// Shows the text modally with the kind's icon, after the system's beep;
// then repaints the application's main window and the active window. Never
// fails: an unexpected result is nmaNone.
TNbMessageAnswer ShowMessageBox(TNbMessageKind AKind, const QString& AText, TNbMessageButtons AButtons = nmbOk);

// A box as ShowMessageBox built it.
struct TNbShownMessageBox {
    QString Caption;
    QString Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons Buttons;
};
// Test seam: the next ShowMessageBox builds its box but, instead of showing
// it, records it and takes AResult (a QMessageBox::StandardButton, or any
// other number) as the user's answer.
void SetNextMessageBoxResult(int AResult);
// The box the seam answered last.
const std::optional<TNbShownMessageBox>& LastMessageBox();

// The window repainted after every message box besides the active one: the
// application's main (base) window, set at start-up.
void SetApplicationMainWindow(QWidget* AWindow);
QWidget* ApplicationMainWindow();

// ---------------------------------------------------------------- row heights

// The windows ask for the face "メイリオ" by that name, so that the Meiryo
// table below applies; this makes Qt draw it with Noto Sans CJK JP. Called
// once at start-up, after the application object exists.
void InstallFontSubstitutes();
// The windows' face, "メイリオ", APixels high at 96 dpi.
QFont MeiryoFont(int32_t APixels, bool ABold = false);

// The internal leading the Meiryo face has at this height (its absolute
// value, in pixels): below 9 none; 9 to 17 two; 18 to 24 three; 25 four;
// from 26 the whole part of 45.5 - (200 - h) * 0.23.
int32_t MeiryoInternalLeading(int32_t AHeight);
// The font's height in pixels (device-independent; a point size counts at
// 96 dpi).
int32_t FontHeightPixels(const QFont& AFont);
// Meiryo's table for a font whose requested family is "メイリオ", else the
// leading the font's metrics report.
int32_t FontInternalLeading(const QFont& AFont);
// Font height + AExtra - internal leading.
int32_t RowHeightForFont(const QFont& AFont, int32_t AExtra);

// ---------------------------------------------------------------- cell text

enum TNbCellTextOption : unsigned {
    nctoLeft = 0x01,
    nctoHCenter = 0x02,
    nctoRight = 0x04,
    nctoTop = 0x08,
    nctoVCenter = 0x10,
    nctoBottom = 0x20,
    // The result tells whether the text had to be shortened.
    nctoModify = 0x40
};
using TNbCellTextOptions = unsigned;

// Left and top unless another alignment is given.
Qt::Alignment CellTextAlignment(TNbCellTextOptions AOptions);
// Draws the text on one line in ARect shrunk by ADx at the left and right
// and ADy at the top and bottom, shortened with an ellipsis at its end when
// too wide, never outside the rectangle. With nctoModify, true when it was
// shortened; otherwise false.
bool DrawCellText(QPainter& ACanvas, const QRect& ARect, const QString& AText, TNbCellTextOptions AOptions,
                  int32_t ADx, int32_t ADy);

// Gives the painter the control's font, pen (text colour) and brush (base
// colour) again.
void ResetControlCanvas(QPainter& ACanvas, const QWidget& AControl);
// The same with the widget the painter paints on; a painter on anything
// else gets a painter's initial font, pen and brush.
void ResetControlCanvas(QPainter& ACanvas);

// ---------------------------------------------------------------- glyph text

enum TNbGlyphTextDrawingStyle { ngtdsNormal, ngtdsSelected, ngtdsFocused, ngtdsDisabled };
enum TNbGlyphTextTarget { ngttImage, ngttPaintBox, ngttCanvas };
enum TNbGlyphTextTextRendering { ngttrNone, ngttrSimple, ngttrFullPath1, ngttrFullPath2 };

// A list of icons of one size.
struct TNbImageList {
    QSize IconSize {16, 16};
    std::vector<QIcon> Icons;
};

// The text as a glyph text shows it in AWidth pixels: whole for ngttrNone
// and ngttrFullPath2 (which cut it at the edge), with an ellipsis at the end
// for ngttrSimple, in the middle for ngttrFullPath1.
QString GlyphTextShown(const QFontMetrics& AMetrics, const QString& AText, int AWidth,
                       TNbGlyphTextTextRendering ARendering);

// Draws a file's or folder's small icon followed by a text. A plain value;
// the painter must be open on the target while drawing (in Qt a painter
// exists only during painting: on the picture a label shows, or on a paint
// box within its paint event).
struct TNbGlyphText {
    QPainter* FCanvas = nullptr;
    TNbGlyphTextDrawingStyle FDrawingStyle = ngtdsNormal;
    std::optional<QColor> FGBkColor;
    int32_t FGMargin = 0;
    int32_t FHSpacing1 = 4;
    int32_t FHSpacing2 = 6;
    QLabel* FImage = nullptr;
    QWidget* FPaintBox = nullptr;
    TNbGlyphTextTarget FTarget = ngttCanvas;
    QString FTextDisplayed;
    bool FTextModified = false;
    TNbGlyphTextTextRendering FTextRendering = ngttrSimple;

    void Initialize(QLabel* AImage, QPainter* ACanvas);
    void Initialize(QWidget* APaintBox, QPainter* ACanvas);
    void Initialize(QPainter* ACanvas);

    // The icon AImageIndex of the list at the point, over the background
    // box when FGBkColor holds a colour; a negative index draws the box only.
    void Draw(int32_t ALeft, int32_t ATop, const TNbImageList& AImageList, int32_t AImageIndex);
    // Fills the rectangle, then draws the icon and the text.
    void Draw(const QRect& ARect, const TNbImageList& AImageList, int32_t AImageIndex, const QString& AText);
    // The same with the small icon of the file or folder (a path ending in a
    // separator): its own icon where it exists, else the generic icon of a
    // folder or of files with its extension.
    void Draw(const QRect& ARect, const QString& AIconPath, const QString& AText);

private:
    void DrawIcon(int32_t ALeft, int32_t ATop, QSize ASize, const QIcon* AIcon);
    void DrawWithIcon(const QRect& ARect, QSize AIconSize, const QIcon* AIcon, const QString& AText);
};

// The small icon for a file or a folder path, as TNbGlyphText draws it.
QIcon SmallIconForPath(const QString& APath);

// ---------------------------------------------------------------- paths

// The full path of APath (relative to the current folder) with a trailing
// separator.
QString ExpandFolderPath(const QString& APath);
// The name the user sees: the last component of the full path; "/" for the
// root.
QString PathDisplayName(const QString& APath);
// The root followed by the display names of the folders down to the path,
// separated by "/"; the root alone for the root.
QString PathFullDisplayName(const QString& APath);
bool IsDriveRoot(const QString& APath);
// Whether the folder exists (Linux shows no critical-error dialogs to
// suppress).
bool DirectoryExistsQuiet(const QString& APath);
// 1 documents, 2 roaming application data (XDG config), 3 local application
// data (XDG data), 4 applications, anything else the desktop: the full path
// with a trailing separator, or empty text when the system has none.
QString SpecialFolderPath(int32_t ACode);

// An error of the operating system: the text for its code, two line feeds
// and a detail.
class ETvrOsError : public ETvrError {
public:
    ETvrOsError(const std::string& AMessage, int32_t ACode) : ETvrError(AMessage), FCode(ACode) {}
    int32_t Code() const { return FCode; }

private:
    int32_t FCode;
};
// The system's text for the error code (the codes OpenWithShell raises).
QString OsErrorText(int32_t ACode);
[[noreturn]] void RaiseOsError(int32_t ACode, const QString& ADetail);
// Opens the file or folder with its associated program; raises ETvrOsError
// (2 file not found, 3 path not found, 5 access denied, 1155 no program
// associated) with the path as detail.
void OpenWithShell(const QString& APath);
// Test seam: the next OpenWithShell of an existing path takes this as the
// desktop's answer instead of asking it.
void SetNextOpenWithShellResult(bool AOpened);

// Shows the folder picker starting at APath (the desktop when empty). A
// confirmed folder goes into APath with a trailing separator and gives
// true; an empty confirmation beeps and gives false; cancel gives false.
bool SelectFolder(const QString& ACaption, QString& APath, QWidget* AForm);
// Test seam: the next SelectFolder takes this as the picker's result (an
// empty text as an empty confirmation, nullopt as cancel) instead of
// showing it.
void SetNextSelectedFolder(std::optional<QString> AFolder);

// ---------------------------------------------------------------- browse button

// What double-clicking the control does; the browse button runs the same.
void SetControlDoubleClick(QWidget* AControl, std::function<void()> AHandler);
// Runs the control's double-click handler; false when it has none.
bool RunControlDoubleClick(QWidget* AControl);

// The three-dots glyph of a browse button of this size: three black 2 x 2
// dots on a transparent image 4 pixels smaller.
QImage BrowseButtonGlyph(QSize AButtonSize);

// Puts a 23-pixel browse button to the right of an edit field, combo box,
// panel (QFrame) or paint box (plain QWidget), narrowing the control by 24
// pixels; the button runs the control's double-click handler. For an edit
// field or combo box it is a tool button that takes no focus and F9 in the
// control clicks it; otherwise a push button that ALabel (when given) leads
// to. ATabOrder < 0 puts the button right after the control in the tab
// chain; in Qt other values only keep the order of creation. Returns the
// panel holding the button, or nullptr when the control is of another kind
// and left unchanged.
QWidget* AttachBrowseButton(QWidget* AControl, QLabel* ALabel, int32_t ATabOrder);

// The key handler of a control with a browse button: F9 without Shift, Ctrl
// or Alt clicks the button and is consumed; every other key goes on to the
// control.
class TNbAdxEditEvent : public QObject {
public:
    TNbAdxEditEvent(QObject* AOwner, QWidget* AControl, QAbstractButton* AButton);
    bool eventFilter(QObject* AWatched, QEvent* AEvent) override;

private:
    QWidget* FControl;
    QAbstractButton* FButton;
};

// ---------------------------------------------------------------- item hints

// The hint of an item: the callback's hint when one is set, else the item's
// text. Empty when the hint is the item's own text and fits its rectangle
// (hint width <= width - 4, height <= height - 2): a fully visible text
// needs no hint.
QString ItemHintDecision(const QString& AItemText, const QString& AHint, QSize AHintSize, const QRect& AItemRect);

// The hint callback: the control and the item under the mouse (an invalid
// index for a control without items).
using TNbGetItemHint = std::function<QString(QWidget* ASender, const QModelIndex& AParam)>;

// Gives each item of a list or grid (any item view) its own tool tip, shown
// only where it adds something; on other controls the callback's text.
class TNbItemHint : public QObject {
public:
    TNbItemHint(QWidget* AControl, TNbGetItemHint AGetItemHint);
    bool eventFilter(QObject* AWatched, QEvent* AEvent) override;
    // The hint for a point of the control (or of an item view's viewport).
    QString HintAt(const QPoint& APos, QRect* AItemRect = nullptr) const;
    const QString& Hint() const { return FHint; }

private:
    QWidget* FControl;
    TNbGetItemHint FGetItemHint;
    QString FHint;
};

// How long a hint stays up while the mouse rests on its control, in
// milliseconds; negative for the platform's own time. Applies to every
// control's hint and to the item hints, from the call on.
void SetHintHidePause(int32_t AMilliseconds);
int32_t HintHidePause();

// ---------------------------------------------------------------- windows

// The base of the main window and the viewer: a top-level window of its own
// (its own task-bar button), never owned by another window.
class TTvrTaskBarWindow : public QMainWindow {
public:
    TTvrTaskBarWindow();
};

// The small and large file icons of CheckEnvironment; nullptr outside it.
QFileIconProvider* FileIconProvider();
void SetFileIconProvider(QFileIconProvider* AProvider);

} // namespace tavrel
