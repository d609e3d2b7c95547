// Menus.cpp - menu items, menus, popup menus over Qt menus, and the shortcut texts.
#include "platform/controls/Menus.h"

#include <algorithm>

#include <QAction>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QImage>
#include <QMenu>
#include <QPixmap>
#include <QPoint>

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Controls_p.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Menus_p.h"
#include "platform/graphics/ImageList.h"
#include "platform/rtl/SysUtils.h"

REGISTER_CLASS(TMenuItem) {
  Class.Property("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
      .Property("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut, 0)
      .Property("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked, false)
      .Property("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem, false)
      .Property("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex, 0)
      .Property("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled, true)
      .Property("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible, true)
      .Property("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex, -1)
      .Property("Hint", &TMenuItem::Hint, &TMenuItem::SetHint)
      .Property("OnClick", &TMenuItem::OnClick, &TMenuItem::SetOnClick);
}
REGISTER_CLASS(TMenu) {}
REGISTER_CLASS(TMainMenu) {}
REGISTER_CLASS(TPopupMenu) {
  Class.Property("Alignment", &TPopupMenu::Alignment, &TPopupMenu::SetAlignment, paLeft)
      .Property("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup, true)
      .Property("OnPopup", &TPopupMenu::OnPopup, &TPopupMenu::SetOnPopup);
}

void RegisterMenusClasses() {
  RegisterClasses({TMenuItem::ClassInfo(), TMainMenu::ClassInfo(), TPopupMenu::ClassInfo()});
}

// --- TMenuItem ------------------------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem() {
  // Sub-items go with their parent; each one leaves its owner's list as it is freed.
  while (!FItems.empty()) delete FItems.back();
  if (FParent) FParent->Remove(this);
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item) {
  if (!Item) return;
  if (Item->FParent) throw EMenuError(u"Menu inserted twice");
  if (Index < 0 || Index > Count()) throw EMenuError(u"Menu index out of range");
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
}

void TMenuItem::Remove(TMenuItem* Item) {
  auto It = std::find(FItems.begin(), FItems.end(), Item);
  if (It == FItems.end()) throw EMenuError(u"Sub-menu is not in menu");
  FItems.erase(It);
  Item->FParent = nullptr;
}

void TMenuItem::Delete(int Index) {
  if (Index < 0 || Index >= Count()) throw EMenuError(u"Menu index out of range");
  Remove(FItems[size_t(Index)]);
}

void TMenuItem::Clear() {
  while (!FItems.empty()) delete FItems.back();
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
  auto It = std::find(FItems.begin(), FItems.end(), Item);
  return It == FItems.end() ? -1 : int(It - FItems.begin());
}

TMenuItem* TMenuItem::Find(const String& Caption) const {
  const String Wanted = AnsiUpperCase(StripHotkey(Caption));
  for (TMenuItem* Item : FItems)
    if (AnsiUpperCase(StripHotkey(Item->FCaption)) == Wanted) return Item;
  return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* Root = this;
  while (Root->FParent) Root = Root->FParent;
  return Root->FMenu;
}

void TMenuItem::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  if (Value && FRadioItem) TurnSiblingsOff();
}

// A checked radio item unchecks the radio items of its group among its siblings.
void TMenuItem::TurnSiblingsOff() {
  if (!FParent) return;
  for (TMenuItem* Item : FParent->FItems)
    if (Item != this && Item->FRadioItem && Item->FGroupIndex == FGroupIndex)
      Item->FChecked = false;
}

void TMenuItem::Click() {
  if (!FEnabled) return;
  if (FAutoCheck) SetChecked(!FChecked);
  if (FOnClick) FOnClick(this);
}

// --- TMenu ----------------------------------------------------------------------------------------

TMenu::TMenu(TComponent* AOwner)
    : TComponent(AOwner), FItems(std::make_unique<TMenuItem>(nullptr)) {
  FItems->FMenu = this;
}

TMenu::~TMenu() = default;

namespace {
TMenuItem* FindShortCutIn(TMenuItem* Item, TShortCut Value) {
  for (int I = 0; I < Item->Count(); ++I) {
    TMenuItem* Sub = Item->Items(I);
    if (!Sub->Visible() || !Sub->Enabled()) continue;
    if (Sub->ShortCut() == Value && Sub->Count() == 0) return Sub;
    if (TMenuItem* Found = FindShortCutIn(Sub, Value)) return Found;
  }
  return nullptr;
}
}  // namespace

TMenuItem* TMenu::FindItemByShortCut(TShortCut Value) const {
  if (Value == 0) return nullptr;
  return FindShortCutIn(FItems.get(), Value);
}

bool TMenu::IsShortCut(TMessage& Message) {
  TShiftState Shift = KeyDataToShiftState(Message.LParam) + KeyboardStateToShiftState();
  TMenuItem* Item = FindItemByShortCut(::ShortCut(Word(Message.WParam), Shift));
  if (!Item) return false;
  Item->Click();
  return true;
}

// --- TPopupMenu -----------------------------------------------------------------------------------

namespace {

TPopupMenu::TChooser& Chooser() {
  static TPopupMenu::TChooser Value;
  return Value;
}

QString ToQString(const String& S) { return QString::fromUtf16(S.data(), qsizetype(S.size())); }

QIcon ImageIcon(TCustomImageList* Images, int Index) {
  if (!Images || Index < 0 || Index >= Images->Count()) return QIcon();
  TBitmap Image(Images->Width(), Images->Height());
  Images->GetBitmap(Index, &Image);
  const std::string Bytes = Image.SaveToBytes();
  QImage Q = QImage::fromData(reinterpret_cast<const uchar*>(Bytes.data()), int(Bytes.size()), "BMP");
  return QIcon(QPixmap::fromImage(Q));
}

using TActionMap = std::vector<std::pair<QAction*, TMenuItem*>>;

// Fills a Qt menu with the items; the chosen Qt action maps back to its item.
void BuildQtMenu(QMenu* Menu, TMenuItem* Parent, TCustomImageList* Images, TActionMap& Map) {
  for (int I = 0; I < Parent->Count(); ++I) {
    TMenuItem* Item = Parent->Items(I);
    if (!Item->Visible()) continue;
    if (Item->IsLine()) {
      Menu->addSeparator();
      continue;
    }
    if (Item->Count() > 0) {
      QMenu* Sub = Menu->addMenu(ImageIcon(Images, Item->ImageIndex()), ToQString(Item->Caption()));
      Sub->setEnabled(Item->Enabled());
      BuildQtMenu(Sub, Item, Images, Map);
      QObject::connect(Sub, &QMenu::aboutToShow, [Item] { Item->Click(); });
      continue;
    }
    QAction* A = Menu->addAction(ImageIcon(Images, Item->ImageIndex()), ToQString(Item->Caption()));
    A->setEnabled(Item->Enabled());
    if (Item->Checked() || Item->AutoCheck()) {
      A->setCheckable(true);
      A->setChecked(Item->Checked());
    }
    if (Item->ShortCut())
      A->setShortcut(QKeySequence(ToQString(ShortCutToText(Item->ShortCut()))));
    A->setShortcutVisibleInContextMenu(true);
    if (Item->Default()) {
      QFont F = A->font();
      F.setBold(true);
      A->setFont(F);
    }
    Map.emplace_back(A, Item);
  }
}

}  // namespace

namespace {

// Watches a bar menu: Left, and Right on an item without sub-items, go on along the bar; Esc
// goes back to it; the pointer on another bar item goes there. Sub-menus keep their own
// Left and Right.
class TBarMenuWatch : public QObject {
public:
  TBarMenuWatch(QMenu* Menu, TMenuItem* Dropped, TBarMenuExit* Exit, const TMainMenu::TBarItemAt& ItemAt)
      : QObject(Menu), FMenu(Menu), FDropped(Dropped), FExit(Exit), FItemAt(ItemAt) {}

protected:
  bool eventFilter(QObject* Watched, QEvent* E) override {
    if (Watched != FMenu) return false;
    if (E->type() == QEvent::MouseMove && FItemAt) {
      const QPoint G = static_cast<QMouseEvent*>(E)->globalPosition().toPoint();
      if (FMenu->rect().contains(FMenu->mapFromGlobal(G))) return false;
      TMenuItem* Other = FItemAt({G.x(), G.y()});
      if (!Other || Other == FDropped) return false;
      FExit->JumpTo = Other;
      return Leave(mlJump);
    }
    if (E->type() != QEvent::KeyPress) return false;
    switch (static_cast<QKeyEvent*>(E)->key()) {
      case Qt::Key_Left: return Leave(mlPrevious);
      case Qt::Key_Right:
        if (FMenu->activeAction() && FMenu->activeAction()->menu()) return false;
        return Leave(mlNext);
      case Qt::Key_Escape: FExit->Leave = mlEscape; return false;
      default: return false;
    }
  }

private:
  bool Leave(TMenuLeave How) {
    FExit->Leave = How;
    FMenu->close();
    return true;
  }
  QMenu* FMenu;
  TMenuItem* FDropped;
  TBarMenuExit* FExit;
  TMainMenu::TBarItemAt FItemAt;
};

}  // namespace

TMenuItem* ShowQtMenu(TMenuItem* Parent, TCustomImageList* Images, TPoint ScreenPos,
                      TPopupAlignment Alignment, TBarMenuExit* Exit,
                      const TMainMenu::TBarItemAt& BarItemAt) {
  QMenu Qm;
  TActionMap Map;
  BuildQtMenu(&Qm, Parent, Images, Map);
  if (Exit) {
    *Exit = {};
    Qm.installEventFilter(new TBarMenuWatch(&Qm, Parent, Exit, BarItemAt));
    // A press on the bar item itself closes the menu and must not open it again.
    Qm.setAttribute(Qt::WA_NoMouseReplay);
  }
  QPoint At(ScreenPos.X, ScreenPos.Y);
  const int W = Qm.sizeHint().width();
  if (Alignment == paRight) At.rx() -= W;
  else if (Alignment == paCenter) At.rx() -= W / 2;
  QAction* Chosen = Qm.exec(At);
  for (auto& [A, Item] : Map)
    if (A == Chosen) return Item;
  return nullptr;
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}
TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::SetChooser(TChooser Value) { Chooser() = std::move(Value); }

void TPopupMenu::Popup(int X, int Y) {
  FPopupPoint = {X, Y};
  if (FOnPopup) FOnPopup(this);
  TMenuItem* Chosen = nullptr;
  if (Chooser()) Chosen = Chooser()(this, FPopupPoint);
  else if (HasPlatform()) Chosen = ShowQtMenu(Items(), Images(), FPopupPoint, FAlignment);
  if (Chosen) Chosen->Click();
}

// --- shortcut texts -----------------------------------------------------------------------------

namespace {

struct TKeyName {
  Word Key;
  const char16_t* Name;
};

// ORDER KEYNAMES: the names menus show; TextToShortCut reads the same table.
const TKeyName KeyNames[] = {
    {VK_BACK, u"BkSp"},  {VK_TAB, u"Tab"},    {VK_ESCAPE, u"Esc"},  {VK_RETURN, u"Enter"},
    {VK_SPACE, u"Space"}, {VK_PRIOR, u"PgUp"}, {VK_NEXT, u"PgDn"},  {VK_END, u"End"},
    {VK_HOME, u"Home"},  {VK_LEFT, u"Left"},  {VK_UP, u"Up"},       {VK_RIGHT, u"Right"},
    {VK_DOWN, u"Down"},  {VK_INSERT, u"Ins"}, {VK_DELETE, u"Del"},
};

String KeyName(Word Key) {
  if ((Key >= u'A' && Key <= u'Z') || (Key >= u'0' && Key <= u'9')) return String(1, Char(Key));
  if (Key >= VK_F1 && Key <= VK_F12) {
    String Name(u"F");  // appended: GCC 12 warns wrongly (-Wrestrict) on u"F" + ...
    Name += IntToStr(Key - VK_F1 + 1);
    return Name;
  }
  if (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD9) return u"Num " + IntToStr(Key - VK_NUMPAD0);
  for (const TKeyName& N : KeyNames)
    if (N.Key == Key) return N.Name;
  return String();
}

// Modifier prefixes in the order menus write them.
const std::pair<TShortCut, const char16_t*> Modifiers[] = {
    {scShift, u"Shift+"}, {scCtrl, u"Ctrl+"}, {scAlt, u"Alt+"}};

}  // namespace

String StripHotkey(const String& Text) {
  String Result;
  for (size_t I = 0; I < Text.size(); ++I) {
    if (Text[I] == u'&' && I + 1 < Text.size()) ++I;
    else if (Text[I] == u'&') continue;
    Result += Text[I];
  }
  return Result;
}

String ShortCutToText(TShortCut Value) {
  const String Name = KeyName(Word(Value & 0xFF));
  if (Name.empty()) return String();
  String Text;
  for (auto& [Bit, Prefix] : Modifiers)
    if (Value & Bit) Text += Prefix;
  return Text + Name;
}

TShortCut TextToShortCut(const String& Text) {
  String Rest = AnsiUpperCase(Text);
  TShortCut Shift = 0;
  for (bool Found = true; Found;) {
    Found = false;
    for (auto& [Bit, Prefix] : Modifiers) {
      const String P = AnsiUpperCase(Prefix);
      if (Rest.size() > P.size() && Rest.compare(0, P.size(), P) == 0) {
        Shift |= Bit;
        Rest.erase(0, P.size());
        Found = true;
      }
    }
  }
  for (int Key = 1; Key < 256; ++Key) {
    const String Name = KeyName(Word(Key));
    if (!Name.empty() && AnsiUpperCase(Name) == Rest) return TShortCut(Key | Shift);
  }
  return 0;
}

bool IsMenuKey(TControl* Control, TMessage& Message, TMenu* FormMenu) {
  for (TControl* C = Control; C; C = C->Parent())
    if (TPopupMenu* Menu = C->PopupMenu(); Menu && Menu->IsShortCut(Message)) return true;
  return FormMenu && FormMenu->IsShortCut(Message);
}

void InstallPopupMenuHandler() {
  TControl::SetPopupMenuHandler([](TPopupMenu* Menu, TControl* Sender, TPoint ScreenPos) {
    if (!Menu->AutoPopup()) return;
    Menu->SetPopupComponent(Sender);
    Menu->Popup(ScreenPos.X, ScreenPos.Y);
  });
}
