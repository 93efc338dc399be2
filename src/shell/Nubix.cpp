#include "shell/Nubix.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeDatabase>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QStandardPaths>
#include <QToolButton>
#include <QToolTip>
#include <QUrl>
#include <QWidget>
#include <cmath>
#include <cstdlib>
#include <unistd.h>

namespace tavrel {

// ---------------------------------------------------------------- messages

namespace {

std::optional<int> GNextMessageBoxResult;
std::optional<TNbShownMessageBox> GLastMessageBox;
QPointer<QWidget> GApplicationMainWindow;

// Replaces every AFrom (any letter case) by ATo.
void ReplaceAll(QString& AText, const QString& AFrom, const QString& ATo)
{
    AText.replace(AFrom, ATo, Qt::CaseInsensitive);
}

void RepaintWindows()
{
    if (QWidget* Main = GApplicationMainWindow.data(); Main && Main->isVisible())
        Main->repaint();
    if (QWidget* Active = QApplication::activeWindow(); Active && Active != GApplicationMainWindow.data())
        Active->repaint();
}

} // namespace

QString MessageBoxText(const QString& AText)
{
    const QString Placeholder(QChar(1));
    QString Text = AText;
    Text.replace(QStringLiteral("\\\\"), Placeholder);
    ReplaceAll(Text, QStringLiteral("~n"), QStringLiteral("\n"));
    ReplaceAll(Text, QStringLiteral("\\r\\n"), QStringLiteral("\n"));
    ReplaceAll(Text, QStringLiteral("\\n"), QStringLiteral("\n"));
    ReplaceAll(Text, QStringLiteral("\\r"), QStringLiteral("\n"));
    Text.replace(Placeholder, QStringLiteral("\\"));
    return Text;
}

QString MessageBoxCaption()
{
    const QString Name = qEnvironmentVariable("AppProgramName");
    if (!Name.isEmpty())
        return Name;
    const QString Program = QCoreApplication::instance() ? QCoreApplication::applicationFilePath()
                                                         : QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    return QFileInfo(Program).completeBaseName();
}

QMessageBox::Icon MessageBoxIcon(TNbMessageKind AKind)
{
    switch (AKind) {
    case nmkWarning:
        return QMessageBox::Warning;
    case nmkError:
        return QMessageBox::Critical;
    case nmkInformation:
    case nmkNotice:
        return QMessageBox::Information;
    case nmkQuestion:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons MessageBoxButtons(TNbMessageButtons AButtons)
{
    switch (AButtons) {
    case nmbOk:
        return QMessageBox::Ok;
    case nmbOkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case nmbAbortRetryIgnore:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case nmbYesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case nmbYesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case nmbRetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

TNbMessageAnswer MessageBoxAnswer(int AResult)
{
    switch (AResult) {
    case QMessageBox::Ok:
        return nmaOk;
    case QMessageBox::Cancel:
        return nmaCancel;
    case QMessageBox::Abort:
        return nmaAbort;
    case QMessageBox::Retry:
        return nmaRetry;
    case QMessageBox::Ignore:
        return nmaIgnore;
    case QMessageBox::Yes:
        return nmaYes;
    case QMessageBox::No:
        return nmaNo;
    default:
        return nmaNone;
    }
}

TNbMessageAnswer ShowMessageBox(TNbMessageKind AKind, const QString& AText, TNbMessageButtons AButtons)
{
    QMessageBox Box(MessageBoxIcon(AKind), MessageBoxCaption(), MessageBoxText(AText), MessageBoxButtons(AButtons),
                    QApplication::activeWindow());
    // Linux desktops have one bell for every kind of message.
    QApplication::beep();
    int Result = 0;
    if (GNextMessageBoxResult) {
        Result = *GNextMessageBoxResult;
        GNextMessageBoxResult.reset();
        GLastMessageBox = TNbShownMessageBox {Box.windowTitle(), Box.text(), Box.icon(), Box.standardButtons()};
    } else {
        Result = Box.exec();
    }
    RepaintWindows();
    return MessageBoxAnswer(Result);
}

void SetNextMessageBoxResult(int AResult)
{
    GNextMessageBoxResult = AResult;
}

const std::optional<TNbShownMessageBox>& LastMessageBox()
{
    return GLastMessageBox;
}

void SetApplicationMainWindow(QWidget* AWindow)
{
    GApplicationMainWindow = AWindow;
}

QWidget* ApplicationMainWindow()
{
    return GApplicationMainWindow.data();
}

// ---------------------------------------------------------------- row heights

void InstallFontSubstitutes()
{
    QFont::insertSubstitution(QStringLiteral("メイリオ"), QStringLiteral("Noto Sans CJK JP"));
}

QFont MeiryoFont(int32_t APixels, bool ABold)
{
    QFont Font(QStringLiteral("メイリオ"));
    Font.setPixelSize(APixels);
    Font.setBold(ABold);
    return Font;
}

int32_t MeiryoInternalLeading(int32_t AHeight)
{
    const int32_t H = std::abs(AHeight);
    if (H < 9)
        return 0;
    if (H <= 17)
        return 2;
    if (H <= 24)
        return 3;
    if (H == 25)
        return 4;
    return static_cast<int32_t>(std::trunc(45.5 - (200 - H) * 0.23));
}

int32_t FontHeightPixels(const QFont& AFont)
{
    if (AFont.pixelSize() > 0)
        return AFont.pixelSize();
    return static_cast<int32_t>(std::lround(AFont.pointSizeF() * 96.0 / 72.0));
}

int32_t FontInternalLeading(const QFont& AFont)
{
    const int32_t H = FontHeightPixels(AFont);
    if (AFont.family() == QStringLiteral("メイリオ"))
        return MeiryoInternalLeading(H);
    // The cell height the metrics report less the character height asked for.
    const QFontMetrics Metrics(AFont);
    return std::max(0, Metrics.ascent() + Metrics.descent() - H);
}

int32_t RowHeightForFont(const QFont& AFont, int32_t AExtra)
{
    return FontHeightPixels(AFont) + AExtra - FontInternalLeading(AFont);
}

// ---------------------------------------------------------------- cell text

Qt::Alignment CellTextAlignment(TNbCellTextOptions AOptions)
{
    Qt::Alignment Align = Qt::AlignLeft;
    if (AOptions & nctoHCenter)
        Align = Qt::AlignHCenter;
    else if (AOptions & nctoRight)
        Align = Qt::AlignRight;
    if (AOptions & nctoVCenter)
        Align |= Qt::AlignVCenter;
    else if (AOptions & nctoBottom)
        Align |= Qt::AlignBottom;
    else
        Align |= Qt::AlignTop;
    return Align;
}

bool DrawCellText(QPainter& ACanvas, const QRect& ARect, const QString& AText, TNbCellTextOptions AOptions,
                  int32_t ADx, int32_t ADy)
{
    const QRect R = ARect.adjusted(ADx, ADy, -ADx, -ADy);
    const QString Shown = ACanvas.fontMetrics().elidedText(AText, Qt::ElideRight, std::max(0, R.width()),
                                                           Qt::TextSingleLine);
    if (R.isValid()) {
        ACanvas.save();
        ACanvas.setClipRect(R, Qt::IntersectClip);
        ACanvas.drawText(R, static_cast<int>(CellTextAlignment(AOptions)) | Qt::TextSingleLine, Shown);
        ACanvas.restore();
    }
    return (AOptions & nctoModify) != 0 && Shown != AText;
}

void ResetControlCanvas(QPainter& ACanvas, const QWidget& AControl)
{
    ACanvas.setFont(AControl.font());
    ACanvas.setPen(AControl.palette().color(AControl.foregroundRole()));
    ACanvas.setBrush(AControl.palette().brush(AControl.backgroundRole()));
}

void ResetControlCanvas(QPainter& ACanvas)
{
    if (ACanvas.device() && ACanvas.device()->devType() == QInternal::Widget) {
        ResetControlCanvas(ACanvas, *static_cast<QWidget*>(ACanvas.device()));
        return;
    }
    ACanvas.setFont(QFont());
    ACanvas.setPen(QPen());
    ACanvas.setBrush(QBrush());
}

// ---------------------------------------------------------------- glyph text

namespace {

QFileIconProvider* GFileIconProvider = nullptr;

// The provider of CheckEnvironment, or one made on first use for programs
// and tests that draw without it.
QFileIconProvider& IconProvider()
{
    if (GFileIconProvider)
        return *GFileIconProvider;
    static QFileIconProvider Fallback;
    return Fallback;
}

} // namespace

QFileIconProvider* FileIconProvider()
{
    return GFileIconProvider;
}

void SetFileIconProvider(QFileIconProvider* AProvider)
{
    GFileIconProvider = AProvider;
}

QString GlyphTextShown(const QFontMetrics& AMetrics, const QString& AText, int AWidth,
                       TNbGlyphTextTextRendering ARendering)
{
    switch (ARendering) {
    case ngttrSimple:
        return AMetrics.elidedText(AText, Qt::ElideRight, std::max(0, AWidth), Qt::TextSingleLine);
    case ngttrFullPath1:
        return AMetrics.elidedText(AText, Qt::ElideMiddle, std::max(0, AWidth), Qt::TextSingleLine);
    case ngttrNone:
    case ngttrFullPath2:
        break;
    }
    return AText;
}

QIcon SmallIconForPath(const QString& APath)
{
    QFileIconProvider& Provider = IconProvider();
    const bool HasParent = APath.contains(u'/') && APath != QStringLiteral("/");
    if (APath.endsWith(u'/')) {
        if (HasParent && DirectoryExistsQuiet(APath))
            return Provider.icon(QFileInfo(APath));
        return Provider.icon(QFileIconProvider::Folder);
    }
    if (HasParent) {
        const QFileInfo Info(APath);
        if (Info.exists())
            return Provider.icon(Info);
    }
    // The generic icon of files with this extension; none or a bare "."
    // gives the icon of files of no known type.
    const QString Suffix = QFileInfo(APath).suffix();
    if (!Suffix.isEmpty()) {
        const QMimeType Mime = QMimeDatabase().mimeTypeForFile(QStringLiteral("x.") + Suffix,
                                                               QMimeDatabase::MatchExtension);
        if (!Mime.isDefault()) {
            const QIcon Icon = QIcon::fromTheme(Mime.iconName(), QIcon::fromTheme(Mime.genericIconName()));
            if (!Icon.isNull())
                return Icon;
        }
    }
    return Provider.icon(QFileIconProvider::File);
}

void TNbGlyphText::Initialize(QLabel* AImage, QPainter* ACanvas)
{
    *this = TNbGlyphText();
    FCanvas = ACanvas;
    FImage = AImage;
    FTarget = ngttImage;
}

void TNbGlyphText::Initialize(QWidget* APaintBox, QPainter* ACanvas)
{
    *this = TNbGlyphText();
    FCanvas = ACanvas;
    FPaintBox = APaintBox;
    FTarget = ngttPaintBox;
}

void TNbGlyphText::Initialize(QPainter* ACanvas)
{
    *this = TNbGlyphText();
    FCanvas = ACanvas;
    FTarget = ngttCanvas;
}

void TNbGlyphText::DrawIcon(int32_t ALeft, int32_t ATop, QSize ASize, const QIcon* AIcon)
{
    if (FGBkColor) {
        const QBrush Previous = FCanvas->brush();
        FCanvas->fillRect(QRect(QPoint(ALeft - FGMargin, ATop - FGMargin),
                                QPoint(ALeft + ASize.width() + FGMargin, ATop + ASize.height() + FGMargin)),
                          *FGBkColor);
        FCanvas->setBrush(Previous);
    }
    if (!AIcon || AIcon->isNull())
        return;
    QPixmap Pixmap = AIcon->pixmap(ASize);
    QColor Blend;
    int Percent = 0;
    const QColor Highlight = QGuiApplication::palette().color(QPalette::Highlight);
    switch (FDrawingStyle) {
    case ngtdsNormal:
        break;
    case ngtdsSelected:
        Blend = Highlight;
        Percent = 50;
        break;
    case ngtdsFocused:
        Blend = Highlight;
        Percent = 25;
        break;
    case ngtdsDisabled:
        Blend = QColor(0xC0, 0xC0, 0xC0);
        Percent = 25;
        break;
    }
    if (Percent > 0) {
        QPainter Over(&Pixmap);
        // Only the icon's own pixels take the colour; the background stays
        // transparent.
        Over.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        Blend.setAlpha(255 * Percent / 100);
        Over.fillRect(Pixmap.rect(), Blend);
    }
    FCanvas->drawPixmap(QRect(QPoint(ALeft, ATop), ASize), Pixmap);
}

void TNbGlyphText::Draw(int32_t ALeft, int32_t ATop, const TNbImageList& AImageList, int32_t AImageIndex)
{
    const bool Valid = AImageIndex >= 0 && static_cast<size_t>(AImageIndex) < AImageList.Icons.size();
    DrawIcon(ALeft, ATop, AImageList.IconSize, Valid ? &AImageList.Icons[static_cast<size_t>(AImageIndex)] : nullptr);
}

void TNbGlyphText::DrawWithIcon(const QRect& ARect, QSize AIconSize, const QIcon* AIcon, const QString& AText)
{
    const QPen PreviousPen = FCanvas->pen();
    const int32_t IconLeft = ARect.left() + FHSpacing1;
    // Windows rectangles end one past the last pixel; Qt's bottom() is the
    // last pixel itself.
    const int32_t Bottom = ARect.bottom() + 1;
    const int32_t IconTop = (ARect.top() + Bottom - AIconSize.height()) / 2;
    if (FDrawingStyle == ngtdsDisabled)
        FCanvas->setPen(QColor(0xC0, 0xC0, 0xC0));
    FCanvas->fillRect(ARect, FCanvas->brush());

    const QFontMetrics Metrics = FCanvas->fontMetrics();
    const int32_t TextHeight = Metrics.height();
    const int32_t TextTop = (ARect.top() + Bottom - TextHeight) / 2;
    const int32_t TextLeft = IconLeft + AIconSize.width() + FHSpacing2;
    FCanvas->save();
    FCanvas->setClipRect(ARect, Qt::IntersectClip);
    if (FTextRendering == ngttrNone) {
        FCanvas->drawText(QPoint(TextLeft, TextTop + Metrics.ascent()), AText);
        FTextDisplayed = AText;
    } else {
        const QRect TextRect(QPoint(TextLeft, TextTop), QPoint(ARect.right() + 1 - 2 - 1, TextTop + TextHeight - 1));
        FTextDisplayed = GlyphTextShown(Metrics, AText, TextRect.width(), FTextRendering);
        FCanvas->setClipRect(TextRect, Qt::IntersectClip);
        FCanvas->drawText(TextRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, FTextDisplayed);
    }
    FCanvas->restore();
    FTextModified = FTextDisplayed != AText;
    DrawIcon(IconLeft, IconTop, AIconSize, AIcon);
    FCanvas->setPen(PreviousPen);
}

void TNbGlyphText::Draw(const QRect& ARect, const TNbImageList& AImageList, int32_t AImageIndex, const QString& AText)
{
    const bool Valid = AImageIndex >= 0 && static_cast<size_t>(AImageIndex) < AImageList.Icons.size();
    DrawWithIcon(ARect, AImageList.IconSize, Valid ? &AImageList.Icons[static_cast<size_t>(AImageIndex)] : nullptr,
                 AText);
}

void TNbGlyphText::Draw(const QRect& ARect, const QString& AIconPath, const QString& AText)
{
    const QIcon Icon = SmallIconForPath(AIconPath);
    DrawWithIcon(ARect, QSize(16, 16), &Icon, AText);
}

// ---------------------------------------------------------------- paths

QString ExpandFolderPath(const QString& APath)
{
    QString Full = QDir::cleanPath(QDir::current().absoluteFilePath(APath));
    if (!Full.endsWith(u'/'))
        Full += u'/';
    return Full;
}

QString PathDisplayName(const QString& APath)
{
    const QString Full = ExpandFolderPath(APath);
    if (Full == QStringLiteral("/"))
        return Full;
    return Full.section(u'/', -2, -2);
}

QString PathFullDisplayName(const QString& APath)
{
    QString Folder = ExpandFolderPath(APath);
    if (Folder == QStringLiteral("/"))
        return PathDisplayName(Folder);
    QString Result = PathDisplayName(Folder);
    for (;;) {
        Folder = Folder.left(Folder.lastIndexOf(u'/', Folder.size() - 2) + 1);
        if (Folder == QStringLiteral("/"))
            break;
        Result = PathDisplayName(Folder) + u'/' + Result;
    }
    return QStringLiteral("/") + Result;
}

bool IsDriveRoot(const QString& APath)
{
    return ExpandFolderPath(APath) == QStringLiteral("/");
}

bool DirectoryExistsQuiet(const QString& APath)
{
    return !APath.isEmpty() && QFileInfo(APath).isDir();
}

QString SpecialFolderPath(int32_t ACode)
{
    QStandardPaths::StandardLocation Location = QStandardPaths::DesktopLocation;
    switch (ACode) {
    case 1:
        Location = QStandardPaths::DocumentsLocation;
        break;
    case 2:
        Location = QStandardPaths::GenericConfigLocation;
        break;
    case 3:
        Location = QStandardPaths::GenericDataLocation;
        break;
    case 4:
        Location = QStandardPaths::ApplicationsLocation;
        break;
    default:
        break;
    }
    const QString Path = QStandardPaths::writableLocation(Location);
    if (Path.isEmpty())
        return QString();
    return ExpandFolderPath(Path);
}

namespace {

std::optional<bool> GNextOpenWithShellResult;
bool GHasNextSelectedFolder = false;
std::optional<QString> GNextSelectedFolder;

} // namespace

QString OsErrorText(int32_t ACode)
{
    switch (ACode) {
    case 2:
        return QStringLiteral("指定されたファイルが見つかりません。");
    case 3:
        return QStringLiteral("指定されたパスが見つかりません。");
    case 5:
        return QStringLiteral("アクセスが拒否されました。");
    case 8:
        return QStringLiteral("このコマンドを実行するのに十分なメモリがありません。");
    case 32:
        return QStringLiteral("別のプロセスが使用中のため、ファイルにアクセスできません。");
    case 1155:
        return QStringLiteral("指定されたファイルに関連付けられたアプリケーションがありません。");
    case 1156:
        return QStringLiteral("アプリケーションへのコマンドの送信中にエラーが発生しました。");
    case 1157:
        return QStringLiteral("このアプリケーションを実行するために必要なライブラリ ファイルが見つかりません。");
    default:
        return QStringLiteral("システム エラー (コード %1) が発生しました。").arg(ACode);
    }
}

void RaiseOsError(int32_t ACode, const QString& ADetail)
{
    const QString Message = (OsErrorText(ACode) + QStringLiteral("\n\n") + ADetail).trimmed();
    throw ETvrOsError(Message.toStdString(), ACode);
}

void OpenWithShell(const QString& APath)
{
    const QFileInfo Info(APath);
    if (!Info.exists())
        RaiseOsError(Info.dir().exists() ? 2 : 3, APath);
    if (!Info.isReadable())
        RaiseOsError(5, APath);
    bool Opened = false;
    if (GNextOpenWithShellResult) {
        Opened = *GNextOpenWithShellResult;
        GNextOpenWithShellResult.reset();
    } else {
        Opened = QDesktopServices::openUrl(QUrl::fromLocalFile(Info.absoluteFilePath()));
    }
    // The desktop does not say why it could not open the file; it exists and
    // is readable, so no program is associated with it.
    if (!Opened)
        RaiseOsError(1155, APath);
}

void SetNextOpenWithShellResult(bool AOpened)
{
    GNextOpenWithShellResult = AOpened;
}

bool SelectFolder(const QString& ACaption, QString& APath, QWidget* AForm)
{
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    const QString Start = APath.isEmpty() ? SpecialFolderPath(0) : APath;
    QString Chosen;
    bool Confirmed = false;
    if (GHasNextSelectedFolder) {
        GHasNextSelectedFolder = false;
        Confirmed = GNextSelectedFolder.has_value();
        Chosen = GNextSelectedFolder.value_or(QString());
    } else {
        // Qt's own dialog: it can make a new folder and takes typed paths;
        // it returns an empty text both for cancel and for no choice.
        QFileDialog Dialog(AForm, ACaption, Start);
        Dialog.setFileMode(QFileDialog::Directory);
        Dialog.setOption(QFileDialog::ShowDirsOnly, true);
        Dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        Confirmed = Dialog.exec() == QDialog::Accepted;
        if (Confirmed && !Dialog.selectedFiles().isEmpty())
            Chosen = Dialog.selectedFiles().constFirst();
    }
    bool Result = false;
    if (Confirmed && !Chosen.isEmpty()) {
        APath = Chosen.endsWith(u'/') ? Chosen : Chosen + u'/';
        Result = true;
    } else if (Confirmed) {
        QApplication::beep();
    }
    RepaintWindows();
    QWidget* Front = AForm ? AForm : QApplication::activeWindow();
    if (Front) {
        Front->repaint();
        Front->raise();
        Front->activateWindow();
    }
    QGuiApplication::restoreOverrideCursor();
    return Result;
}

void SetNextSelectedFolder(std::optional<QString> AFolder)
{
    GHasNextSelectedFolder = true;
    GNextSelectedFolder = std::move(AFolder);
}

// ---------------------------------------------------------------- browse button

namespace {

// Holds a control's double-click handler and runs it on double clicks of
// the control and of its inner edit field.
class TNbDoubleClick : public QObject {
public:
    TNbDoubleClick(QWidget* AControl, std::function<void()> AHandler)
        : QObject(AControl), FHandler(std::move(AHandler))
    {
        setObjectName(QStringLiteral("TNbDoubleClick"));
    }
    void Run() const
    {
        if (FHandler)
            FHandler();
    }
    bool eventFilter(QObject* AWatched, QEvent* AEvent) override
    {
        if (AEvent->type() == QEvent::MouseButtonDblClick) {
            Run();
            return true;
        }
        return QObject::eventFilter(AWatched, AEvent);
    }

private:
    std::function<void()> FHandler;
};

TNbDoubleClick* DoubleClickOf(QWidget* AControl)
{
    return AControl->findChild<TNbDoubleClick*>(QStringLiteral("TNbDoubleClick"), Qt::FindDirectChildrenOnly);
}

// The widgets of the control that receive its mouse and key events.
QList<QWidget*> EventWidgets(QWidget* AControl)
{
    QList<QWidget*> Widgets {AControl};
    if (auto* Combo = qobject_cast<QComboBox*>(AControl); Combo && Combo->lineEdit())
        Widgets.append(Combo->lineEdit());
    return Widgets;
}

} // namespace

void SetControlDoubleClick(QWidget* AControl, std::function<void()> AHandler)
{
    delete DoubleClickOf(AControl);
    auto* Handler = new TNbDoubleClick(AControl, std::move(AHandler));
    for (QWidget* W : EventWidgets(AControl))
        W->installEventFilter(Handler);
}

bool RunControlDoubleClick(QWidget* AControl)
{
    const TNbDoubleClick* Handler = DoubleClickOf(AControl);
    if (!Handler)
        return false;
    Handler->Run();
    return true;
}

QImage BrowseButtonGlyph(QSize AButtonSize)
{
    const QSize Size(std::max(0, AButtonSize.width() - 4), std::max(0, AButtonSize.height() - 4));
    QImage Image(Size, QImage::Format_ARGB32);
    Image.fill(Qt::transparent);
    const int W = Size.width();
    const int H = Size.height();
    for (const int X : {W / 2 - 5, W / 2 - 1, W / 2 + 3}) {
        for (int DX = 0; DX < 2; ++DX) {
            for (const int Y : {H / 2 - 1, H / 2}) {
                if (Image.valid(X + DX, Y))
                    Image.setPixelColor(X + DX, Y, Qt::black);
            }
        }
    }
    return Image;
}

TNbAdxEditEvent::TNbAdxEditEvent(QObject* AOwner, QWidget* AControl, QAbstractButton* AButton)
    : QObject(AOwner), FControl(AControl), FButton(AButton)
{
}

bool TNbAdxEditEvent::eventFilter(QObject* AWatched, QEvent* AEvent)
{
    if (AEvent->type() == QEvent::KeyPress) {
        const auto* Key = static_cast<QKeyEvent*>(AEvent);
        const Qt::KeyboardModifiers Held =
            Key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        if (Key->key() == Qt::Key_F9 && Held == Qt::NoModifier && FButton) {
            FButton->click();
            return true;
        }
    }
    return QObject::eventFilter(AWatched, AEvent);
}

QWidget* AttachBrowseButton(QWidget* AControl, QLabel* ALabel, int32_t ATabOrder)
{
    const bool IsEdit = qobject_cast<QLineEdit*>(AControl) || qobject_cast<QComboBox*>(AControl);
    // Only a plain frame (a panel) or a plain widget (a paint box): labels and
    // other controls are frames too.
    const bool IsPanel = AControl->metaObject() == &QFrame::staticMetaObject
                         || AControl->metaObject() == &QWidget::staticMetaObject;
    if (!IsEdit && !IsPanel)
        return nullptr;

    auto* Panel = new QWidget(AControl->parentWidget());
    Panel->setObjectName(AControl->objectName() + QStringLiteral("Browse"));
    Panel->setProperty("tavrelControl", QVariant::fromValue(static_cast<QObject*>(AControl)));
    AControl->resize(AControl->width() - 24, AControl->height());
    Panel->setGeometry(AControl->x() + AControl->width() + 1, AControl->y() - 1, 23, AControl->height() + 2);

    QAbstractButton* Button = nullptr;
    if (IsEdit) {
        auto* Tool = new QToolButton(Panel);
        Tool->setFocusPolicy(Qt::NoFocus);
        Button = Tool;
    } else {
        Button = new QPushButton(Panel);
        if (ALabel)
            ALabel->setBuddy(Button);
    }
    Button->setObjectName(QStringLiteral("BrowseButton"));
    Button->setGeometry(0, 0, Panel->width(), Panel->height());
    const QImage Glyph = BrowseButtonGlyph(Button->size());
    Button->setIcon(QIcon(QPixmap::fromImage(Glyph)));
    Button->setIconSize(Glyph.size());
    QObject::connect(Button, &QAbstractButton::clicked, AControl, [AControl] { RunControlDoubleClick(AControl); });

    if (IsEdit) {
        auto* Keys = new TNbAdxEditEvent(AControl, AControl, Button);
        for (QWidget* W : EventWidgets(AControl))
            W->installEventFilter(Keys);
    } else if (ATabOrder < 0) {
        QWidget::setTabOrder(AControl, Button);
    }
    if (AControl->isVisible())
        Panel->show();
    return Panel;
}

// ---------------------------------------------------------------- item hints

QString ItemHintDecision(const QString& AItemText, const QString& AHint, QSize AHintSize, const QRect& AItemRect)
{
    if (!AHint.isEmpty() && AHint == AItemText && AHintSize.width() <= AItemRect.width() - 4
        && AHintSize.height() <= AItemRect.height() - 2)
        return QString();
    return AHint;
}

TNbItemHint::TNbItemHint(QWidget* AControl, TNbGetItemHint AGetItemHint)
    : QObject(AControl), FControl(AControl), FGetItemHint(std::move(AGetItemHint))
{
    AControl->installEventFilter(this);
    if (auto* View = qobject_cast<QAbstractItemView*>(AControl))
        View->viewport()->installEventFilter(this);
}

QString TNbItemHint::HintAt(const QPoint& APos, QRect* AItemRect) const
{
    QModelIndex Index;
    QString ItemText;
    QRect ItemRect;
    if (auto* View = qobject_cast<QAbstractItemView*>(FControl)) {
        Index = View->indexAt(APos);
        if (Index.isValid()) {
            ItemText = Index.data(Qt::DisplayRole).toString();
            // A list item is as wide as its text; what counts is the part
            // the viewport shows.
            ItemRect = View->visualRect(Index).intersected(View->viewport()->rect());
        }
    }
    if (!Index.isValid() && qobject_cast<QAbstractItemView*>(FControl) && !FGetItemHint)
        return QString();
    const QString Hint = FGetItemHint ? FGetItemHint(FControl, Index) : ItemText;
    const QFontMetrics Metrics = FControl->fontMetrics();
    const int LineHeight = std::max(1, Metrics.lineSpacing());
    const QSize HintSize(Metrics.boundingRect(QRect(), Qt::AlignLeft, Hint).width(),
                         static_cast<int>(Hint.count(u'\n') + 1) * LineHeight);
    if (AItemRect)
        *AItemRect = ItemRect;
    // Qt lays an item row out exactly one text line high, where Windows
    // leaves a margin around it; the height therefore counts in whole lines:
    // a hint fits when the row shows as many lines as it has.
    QRect Fit = ItemRect;
    Fit.setHeight(std::max(1, ItemRect.height() / LineHeight) * LineHeight + 2);
    return ItemHintDecision(ItemText, Hint, HintSize, Fit);
}

bool TNbItemHint::eventFilter(QObject* AWatched, QEvent* AEvent)
{
    if (AEvent->type() != QEvent::ToolTip)
        return QObject::eventFilter(AWatched, AEvent);
    auto* Help = static_cast<QHelpEvent*>(AEvent);
    auto* View = qobject_cast<QAbstractItemView*>(FControl);
    // An item view receives its events on the viewport, in its coordinates.
    const QPoint Pos = (View && AWatched == FControl) ? View->viewport()->mapFrom(FControl, Help->pos()) : Help->pos();
    QRect ItemRect;
    const QString NewHint = HintAt(Pos, &ItemRect);
    if (NewHint != FHint)
        QToolTip::hideText();
    FHint = NewHint;
    if (FHint.isEmpty()) {
        QToolTip::hideText();
    } else {
        QWidget* Area = View ? View->viewport() : FControl;
        QToolTip::showText(Help->globalPos(), FHint, Area, ItemRect, HintHidePause());
    }
    return true;
}

namespace {

int32_t GHintHidePause = -1;

// Qt keeps a hint up for a time that grows with its length; the
// application's hint pause replaces it for every control that has a hint.
class THintPauseFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* AWatched, QEvent* AEvent) override
    {
        if (AEvent->type() != QEvent::ToolTip || GHintHidePause < 0)
            return false;
        auto* Widget = qobject_cast<QWidget*>(AWatched);
        if (!Widget || Widget->toolTip().isEmpty())
            return false;
        auto* Help = static_cast<QHelpEvent*>(AEvent);
        QToolTip::showText(Help->globalPos(), Widget->toolTip(), Widget, QRect(), GHintHidePause);
        return true;
    }
};

} // namespace

void SetHintHidePause(int32_t AMilliseconds)
{
    static THintPauseFilter* Filter = nullptr;
    GHintHidePause = AMilliseconds;
    if (!Filter && QCoreApplication::instance()) {
        Filter = new THintPauseFilter(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(Filter);
    }
}

int32_t HintHidePause()
{
    return GHintHidePause;
}

// ---------------------------------------------------------------- windows

TTvrTaskBarWindow::TTvrTaskBarWindow() : QMainWindow(nullptr, Qt::Window) {}

} // namespace tavrel
