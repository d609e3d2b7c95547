// Surface.cpp - the Qt widget under a windowed control, and the wake-up of our message loop.
//
// The widget only turns Qt's events into our input routines and messages: painting asks the
// control to paint itself through a canvas on the widget; keys and mouse go through
// SimulateKey*/SimulateMouse* exactly as tests send them; focus-in tells our focus model.
#include <QApplication>
#include <QBitmap>
#include <QImage>
#include <QCloseEvent>
#include <QCursor>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QRegion>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>

#include "platform/controls/Controls_p.h"
#include "platform/controls/Forms.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/PainterCanvas.h"

namespace {

TShiftState ShiftOf(Qt::KeyboardModifiers M) {
  TShiftState S;
  if (M & Qt::ShiftModifier) S << ssShift;
  if (M & Qt::ControlModifier) S << ssCtrl;
  if (M & Qt::AltModifier) S << ssAlt;
  return S;
}

Word VirtualKey(int Key) {
  if (Key >= Qt::Key_A && Key <= Qt::Key_Z) return Word('A' + (Key - Qt::Key_A));
  if (Key >= Qt::Key_0 && Key <= Qt::Key_9) return Word('0' + (Key - Qt::Key_0));
  if (Key >= Qt::Key_F1 && Key <= Qt::Key_F12) return Word(VK_F1 + (Key - Qt::Key_F1));
  switch (Key) {
    case Qt::Key_Return: case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Tab: case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_End: return VK_END;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Menu: return VK_APPS;
    case Qt::Key_Plus: return VK_OEM_PLUS;
    case Qt::Key_Minus: return VK_OEM_MINUS;
    case Qt::Key_Comma: return VK_OEM_COMMA;
    case Qt::Key_Period: return VK_OEM_PERIOD;
    case Qt::Key_Apostrophe: return VK_OEM_7;
    default: return 0;
  }
}

TMouseButton ButtonOf(Qt::MouseButton B) {
  return B == Qt::RightButton ? mbRight : B == Qt::MiddleButton ? mbMiddle : mbLeft;
}

Qt::CursorShape ShapeOf(TCursor C) {
  switch (C) {
    case crIBeam: return Qt::IBeamCursor;
    case crCross: return Qt::CrossCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeNS: case crVSplit: return Qt::SizeVerCursor;
    case crSizeWE: case crHSplit: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass: case crSQLWait: return Qt::WaitCursor;
    case crAppStart: return Qt::BusyCursor;
    case crDrag: case crMultiDrag: return Qt::DragCopyCursor;
    case crNoDrop: case crNo: return Qt::ForbiddenCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    case crNone: return Qt::BlankCursor;
    default: return Qt::ArrowCursor;
  }
}

// A registered bitmap cursor, else the predefined shape.
QCursor CursorOf(TCursor C) {
  QImage Image;
  TPoint Hot;
  if (BitmapCursorOf(C, Image, Hot)) return QCursor(QPixmap::fromImage(Image), Hot.X, Hot.Y);
  return QCursor(ShapeOf(C));
}

class TControlWidget : public QWidget {
public:
  TControlWidget(TWinControl* Control, QWidget* Parent, bool TopLevel, const TCreateParams& Params)
      : QWidget(Parent), FControl(Control) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    if (TopLevel) {
      const bool Tool = Params.ExStyle & WS_EX_TOOLWINDOW;
      // WS_BORDER alone is a thin frame we paint ourselves; WS_CAPTION holds both bits.
      const bool NoFrame = (Params.Style & WS_POPUP) && (Params.Style & WS_CAPTION) != WS_CAPTION;
      Qt::WindowFlags F = Tool ? Qt::Tool : Qt::Window;
      if (NoFrame) F |= Qt::FramelessWindowHint;
      if (Params.ExStyle & WS_EX_TOPMOST) F |= Qt::WindowStaysOnTopHint;
      if (Params.ExStyle & WS_EX_NOACTIVATE) {
        F |= Qt::WindowDoesNotAcceptFocus;
        setAttribute(Qt::WA_ShowWithoutActivating);
        setFocusPolicy(Qt::NoFocus);
      }
      setWindowFlags(F);
      setWindowTitle(QString::fromUtf16(Params.Caption.data(), qsizetype(Params.Caption.size())));
      // The task bar and window lists name the program by the application's title.
      if (Application && !Application->Title().empty())
        setWindowIconText(QString::fromUtf16(Application->Title().data(),
                                             qsizetype(Application->Title().size())));
    }
  }

  // A layered window's colour key: its pixels are cut out of the window's shape.
  void SetColorKey(std::optional<TColorRef> Key) {
    FColorKey = Key;
    if (!Key) clearMask();
    update();
  }

protected:
  void paintEvent(QPaintEvent* E) override {
    if (FColorKey) {
      PaintKeyed();
      return;
    }
    QPainter Painter(this);
    const QRect R = E->rect();
    PaintOn(Painter, ckWindow, Bounds(R.x(), R.y(), R.width(), R.height()));
  }
  // The picture drawn off screen first, so that the pixels of the key colour give the shape.
  void PaintKeyed() {
    QImage Image(size(), QImage::Format_RGB32);
    {
      QPainter ImagePainter(&Image);
      PaintOn(ImagePainter, ckBitmap);
    }
    const TColorRef K = *FColorKey;
    const QColor Key(int(K & 0xFF), int((K >> 8) & 0xFF), int((K >> 16) & 0xFF));
    const QRegion Shape(QBitmap::fromImage(Image.createMaskFromColor(Key.rgb(), Qt::MaskInColor)));
    if (Shape != mask()) setMask(Shape);
    QPainter Painter(this);
    Painter.drawImage(0, 0, Image);
  }
  // Update is the part of the window to paint (window coordinates); the client canvas's clip
  // box shows it, so that a control may skip what lies outside.
  void PaintOn(QPainter& Painter, TCanvasKind Kind, std::optional<TRect> Update = {}) {
    TCanvas Whole(CreatePainterDevice(&Painter, Kind, {width(), height()}));
    FControl->Perform(WM_NCPAINT, WPARAM(&Whole), 0);
    const TRect In = FControl->NonClientInsets();
    const TRect Client = Bounds(In.Left, In.Top, FControl->ClientWidth(), FControl->ClientHeight());
    TRect Clip = Client;
    if (Update) IntersectRect(Clip, Client, *Update);
    auto DC = CreateSubCanvas(&Whole, Client.TopLeft(), Clip);
    DC->Font()->Assign(FControl->Font());
    FControl->Perform(WM_ERASEBKGND, WPARAM(DC.get()), 0);
    FControl->Perform(WM_PAINT, WPARAM(DC.get()), 0);
    const TCaretState Caret = GetCaretState();
    if (Caret.Owner == FControl && Caret.HideCount == 0) DC->PatBlt(Caret.Rect, DSTINVERT);
  }
  void keyPressEvent(QKeyEvent* E) override {
    const Word Key = VirtualKey(E->key());
    TShiftState Shift = ShiftOf(E->modifiers());
    if (E->key() == Qt::Key_Backtab) Shift << ssShift;
    const QString Text = E->text();
    Char Ch = Text.size() == 1 ? Char(Text.at(0).unicode()) : Char(0);
    if (Shift.Contains(ssCtrl) && Ch < 0x20 && Key != VK_RETURN && Key != VK_BACK) Ch = Ch ? Ch : 0;
    // Ctrl+Return types a line feed, as the system's keyboard translation gives it.
    if (Key == VK_RETURN && Shift.Contains(ssCtrl)) Ch = u'\n';
    // Alt and a letter or digit makes WM_SYSCHAR (menu accelerators) even when the platform
    // gives no text for it.
    if (Shift.Contains(ssAlt) && !Shift.Contains(ssCtrl) && !Ch &&
        ((Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9')))
      Ch = Key >= 'A' ? Char(Key + 32) : Char(Key);
    if (Key) SimulateKeyDown(Key, Shift, Ch);
    else if (Ch) SimulateTyping(String(1, Ch));
    // Input methods commit whole strings: each character becomes WM_CHAR.
    if (!Key && Text.size() > 1) SimulateTyping(String(reinterpret_cast<const char16_t*>(Text.utf16()), size_t(Text.size())));
  }
  void keyReleaseEvent(QKeyEvent* E) override {
    if (Word Key = VirtualKey(E->key())) SimulateKeyUp(Key, ShiftOf(E->modifiers()));
  }
  void mousePressEvent(QMouseEvent* E) override {
    const QPoint G = E->globalPosition().toPoint();
    SimulateMouseDown(ButtonOf(E->button()), {G.x(), G.y()}, ShiftOf(E->modifiers()));
  }
  void mouseDoubleClickEvent(QMouseEvent* E) override { mousePressEvent(E); }
  void mouseReleaseEvent(QMouseEvent* E) override {
    const QPoint G = E->globalPosition().toPoint();
    SimulateMouseUp(ButtonOf(E->button()), {G.x(), G.y()}, ShiftOf(E->modifiers()));
  }
  void mouseMoveEvent(QMouseEvent* E) override {
    const QPoint G = E->globalPosition().toPoint();
    SimulateMouseMove({G.x(), G.y()}, ShiftOf(E->modifiers()));
  }
  // The pointer coming onto a window without moving (the window appeared under it) counts as a
  // move; leaving for another of our windows is seen by that window's moves, leaving them all
  // is told once the pointer is known to be elsewhere.
  void enterEvent(QEnterEvent* E) override {
    const QPoint G = E->globalPosition().toPoint();
    SimulateMouseMove({G.x(), G.y()}, ShiftOf(E->modifiers()));
  }
  void leaveEvent(QEvent*) override {
    QTimer::singleShot(0, qApp, [] {
      if (!dynamic_cast<TControlWidget*>(QApplication::widgetAt(QCursor::pos()))) SimulateMouseLeave();
    });
  }
  void wheelEvent(QWheelEvent* E) override {
    const QPoint G = E->globalPosition().toPoint();
    SimulateMouseWheel(E->angleDelta().y(), {G.x(), G.y()}, ShiftOf(E->modifiers()));
  }
  void focusInEvent(QFocusEvent*) override {
    if (GetFocus() != FControl && FControl->CanFocus()) ::SetFocus(FControl);
  }
  // A window the window system moved or sized tells its control. The control may place itself
  // elsewhere (inside the work area, say), which moves the window again: that move is its own
  // doing and is not fed back, or the two could chase each other for ever.
  void resizeEvent(QResizeEvent*) override {
    if (!isWindow() || FFollowing) return;
    if (width() != FControl->Width() || height() != FControl->Height())
      Follow(FControl->Left(), FControl->Top(), width(), height());
  }
  void moveEvent(QMoveEvent*) override {
    if (!isWindow() || FFollowing) return;
    const QPoint P = pos();
    if (P.x() != FControl->Left() || P.y() != FControl->Top())
      Follow(P.x(), P.y(), FControl->Width(), FControl->Height());
  }
  void closeEvent(QCloseEvent* E) override {
    E->ignore();
    FControl->Perform(WM_CLOSE, 0, 0);
  }

private:
  void Follow(int Left, int Top, int Width, int Height) {
    FFollowing = true;
    struct TReset {
      bool& Flag;
      ~TReset() { Flag = false; }
    } Reset{FFollowing};
    FControl->SetBounds(Left, Top, Width, Height);
  }

  TWinControl* FControl;
  std::optional<TColorRef> FColorKey;
  bool FFollowing = false;
};

class TQtSurface : public TWindowSurface {
public:
  explicit TQtSurface(TControlWidget* Widget) : FWidget(Widget) {}
  ~TQtSurface() override { delete FWidget; }
  void SetGeometry(const TRect& R) override { FWidget->setGeometry(R.Left, R.Top, R.Width(), R.Height()); }
  void SetVisible(bool Visible, bool) override { FWidget->setVisible(Visible); }
  void Invalidate(const TRect& R) override { FWidget->update(R.Left, R.Top, R.Width(), R.Height()); }
  void TakeFocus() override {
    if (!FWidget->hasFocus()) FWidget->setFocus(Qt::OtherFocusReason);
  }
  void SetTitle(const String& T) override {
    FWidget->setWindowTitle(QString::fromUtf16(T.data(), qsizetype(T.size())));
  }
  void SetCursorShape(TCursor C) override { FWidget->setCursor(CursorOf(C)); }
  void Raise() override { FWidget->raise(); }
  void SetOutline(const std::vector<TPoint>* Polygon) override {
    if (!Polygon) {
      FWidget->clearMask();
      return;
    }
    QPolygon P;
    for (TPoint Pt : *Polygon) P << QPoint(Pt.X, Pt.Y);
    FWidget->setMask(QRegion(P, Qt::WindingFill));
  }
  void SetLayered(bool Layered, std::optional<TColorRef> Key, int Alpha) override {
    FWidget->SetColorKey(Layered ? Key : std::nullopt);
    FWidget->setWindowOpacity(Layered ? Alpha / 255.0 : 1.0);
  }
  void* Widget() override { return FWidget; }

private:
  TControlWidget* FWidget;
};

}  // namespace

bool HasPlatform() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

std::unique_ptr<TWindowSurface> CreateWindowSurface(TWinControl* Control, bool TopLevel,
                                                    const TCreateParams& Params) {
  if (!HasPlatform()) return nullptr;
  QWidget* ParentWidget = nullptr;
  if (!TopLevel && Control->Parent()) ParentWidget = static_cast<QWidget*>(Control->Parent()->Surface());
  if (!TopLevel && !ParentWidget) return nullptr;
  auto* Widget = new TControlWidget(Control, ParentWidget, TopLevel, Params);
  const TRect G = SurfaceGeometry(Control);
  Widget->setGeometry(G.Left, G.Top, G.Width(), G.Height());
  return std::make_unique<TQtSurface>(Widget);
}

void SetPlatformOverrideCursor(TCursor Cursor) {
  if (!HasPlatform()) return;
  while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
  if (Cursor != crDefault) QGuiApplication::setOverrideCursor(CursorOf(Cursor));
}

void WakeMessageLoop() {
  if (!QCoreApplication::instance()) return;
  static bool Pending = false;
  static QTimer* TimerDriver = nullptr;
  if (!TimerDriver) {
    TimerDriver = new QTimer(QCoreApplication::instance());
    TimerDriver->setSingleShot(true);
    QObject::connect(TimerDriver, &QTimer::timeout, [] { WakeMessageLoop(); });
  }
  if (!Pending) {
    Pending = true;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [] {
          Pending = false;
          DeliverQueuedMessages();
          const long long Next = NextTimerDue();
          if (Next >= 0) TimerDriver->start(int(std::max(0LL, Next - (long long)GetTickCount())));
        },
        Qt::QueuedConnection);
  }
}
