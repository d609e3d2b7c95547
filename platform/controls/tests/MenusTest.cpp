// MenusTest.cpp - a form's main menu bar, headless: the client area below the bar, choosing
// items with the mouse and with Alt and a letter, shortcuts from the form's controls, and a
// picture of a form with its bar.
#include "platform/controls/Menus.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Snapshot.h"
#include "platform/controls/StdCtrls.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/ImageList.h"

namespace {

class MainMenuTest : public ::testing::Test {
protected:
  void SetUp() override {
    InitControls();
    ResetKeyboardState();
    Form = new TForm(Application);
    Form->SetBounds(100, 100, 400, 300);
    Edit = new TEdit(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(8, 8, 150, 21);
    Menu = new TMainMenu(Form);
    File = AddItem(Menu->Items(), u"&Файл");
    Create = AddItem(File, u"&Создать", TextToShortCut(u"Ctrl+N"));
    AddItem(File, u"-");
    Hidden = AddItem(File, u"Скрытый", TextToShortCut(u"Ctrl+H"));
    Hidden->SetVisible(false);
    Help = AddItem(Menu->Items(), u"&Справка");
    Form->Show();
  }
  void TearDown() override {
    TMainMenu::SetChooser(nullptr);
    delete Form;
  }
  TMenuItem* AddItem(TMenuItem* Parent, const char16_t* Caption, TShortCut Key = 0) {
    auto* Item = new TMenuItem(Form);
    Item->SetCaption(Caption);
    Item->SetShortCut(Key);
    Item->SetOnClick([this, Item](TObject*) { Log.push_back(ToUtf8(StripHotkey(Item->Caption()))); });
    Parent->Add(Item);
    return Item;
  }
  // A press on the bar at X (client coordinates), halfway down the bar.
  void ClickBar(int X) { SimulateClick(Form, {X, -TMainMenu::BarHeight() / 2}); }
  int BarX(TMenuItem* Item) {
    for (const TMainMenu::TBarItem& B : Menu->BarLayout())
      if (B.Item == Item) return (B.Rect.Left + B.Rect.Right) / 2;
    return -1;
  }

  TForm* Form = nullptr;
  TEdit* Edit = nullptr;
  TMainMenu* Menu = nullptr;
  TMenuItem *File = nullptr, *Create = nullptr, *Hidden = nullptr, *Help = nullptr;
  std::vector<std::string> Log;
};

TEST_F(MainMenuTest, ClientAreaStartsBelowTheBar) {
  auto* Panel = new TPanel(Form);
  Panel->SetParent(Form);
  Panel->SetAlign(alClient);
  const TPoint OriginBefore = Form->ClientOrigin();
  EXPECT_EQ(Form->ClientHeight(), 300);
  Form->SetMenu(Menu);
  const int Bar = TMainMenu::BarHeight();
  EXPECT_GT(Bar, 0);
  EXPECT_EQ(Form->ClientHeight(), 300 - Bar);
  EXPECT_EQ(Form->ClientOrigin().Y, OriginBefore.Y + Bar);
  EXPECT_EQ(Panel->Height(), 300 - Bar);   // aligned controls fill the smaller client area
  TRect R;
  GetClientRect(Form, R);
  EXPECT_EQ(R.Height(), 300 - Bar);
  Form->SetMenu(nullptr);
  EXPECT_EQ(Form->ClientHeight(), 300);
  Form->SetMenu(Menu);
  delete Menu;   // a freed menu leaves the form without a bar
  EXPECT_EQ(Form->Menu(), nullptr);
  EXPECT_EQ(Form->ClientHeight(), 300);
}

TEST_F(MainMenuTest, ClickingTheBarDropsItemsDownAndClicksTheChoice) {
  Form->SetMenu(Menu);
  TMenuItem* Dropped = nullptr;
  TPoint DropPos;
  TMainMenu::SetChooser([&](TMenuItem* Item, TPoint P, TBarMenuExit&) {
    Dropped = Item;
    DropPos = P;
    EXPECT_EQ(Menu->DroppedItem(), Item);
    return Create;
  });
  ClickBar(BarX(File));
  // The top-level item's OnClick comes as it opens, then the chosen sub-item's.
  EXPECT_EQ(Log, (std::vector<std::string>{"Файл", "Создать"}));
  EXPECT_EQ(Dropped, File);
  EXPECT_EQ(DropPos, Form->ClientToScreen({0, 0}));   // under the first item's left edge
  EXPECT_EQ(Menu->DroppedItem(), nullptr);
  EXPECT_EQ(Edit->Text(), u"");

  Log.clear();
  Dropped = nullptr;
  ClickBar(BarX(Help));   // an item without sub-items is clicked at once
  EXPECT_EQ(Log, (std::vector<std::string>{"Справка"}));
  EXPECT_EQ(Dropped, nullptr);

  Log.clear();
  Help->SetEnabled(false);
  ClickBar(BarX(Help));
  ClickBar(390);   // the bar beyond the last item
  File->SetVisible(false);   // the hidden item leaves its place to the next
  EXPECT_EQ(Menu->ItemAtBarPos({2, 2}), Help);
  EXPECT_TRUE(Log.empty());
}

TEST_F(MainMenuTest, AltAndTheAcceleratorOpensTheItem) {
  Form->SetMenu(Menu);
  TMainMenu::SetChooser([&](TMenuItem* Item, TPoint, TBarMenuExit&) { return Item == File ? Create : nullptr; });
  Edit->SetFocus();
  // Alt+А on the Russian layout gives "ф"; the edit takes no character from it.
  SimulateKeyPress('A', {ssAlt}, u'ф');
  EXPECT_EQ(Log, (std::vector<std::string>{"Файл", "Создать"}));
  SimulateKeyPress('C', {ssAlt}, u'С');
  EXPECT_EQ(Log.back(), "Справка");
  Log.clear();
  SimulateKeyPress('Q', {ssAlt}, u'q');   // no such accelerator
  EXPECT_TRUE(Log.empty());
  EXPECT_EQ(Edit->Text(), u"");
}

TEST_F(MainMenuTest, ShortcutsWorkFromTheFormsControls) {
  Edit->SetFocus();
  SimulateKeyPress('N', {ssCtrl});
  EXPECT_TRUE(Log.empty());   // not the form's menu yet
  Form->SetMenu(Menu);
  SimulateKeyPress('N', {ssCtrl});
  SimulateKeyPress('H', {ssCtrl});   // a hidden item's shortcut does nothing
  EXPECT_EQ(Log, (std::vector<std::string>{"Создать"}));
  Create->SetEnabled(false);
  SimulateKeyPress('N', {ssCtrl});
  EXPECT_EQ(Log.size(), 1u);
  EXPECT_EQ(Edit->Text(), u"");
}

TEST_F(MainMenuTest, F10AndAltAloneHighlightTheBarForTheArrows) {
  Form->SetMenu(Menu);
  Edit->SetFocus();
  SimulateKeyPress(VK_F10);
  EXPECT_EQ(Menu->HotItem(), File);
  SimulateKeyPress(VK_RIGHT);
  EXPECT_EQ(Menu->HotItem(), Help);
  SimulateKeyPress(VK_RIGHT);   // round at the ends
  EXPECT_EQ(Menu->HotItem(), File);
  SimulateKeyPress(VK_LEFT);
  EXPECT_EQ(Menu->HotItem(), Help);
  SimulateKeyPress('X', {}, u'x');   // no such accelerator: the edit gets nothing either
  SimulateKeyPress(VK_ESCAPE);
  EXPECT_EQ(Menu->HotItem(), nullptr);
  EXPECT_EQ(GetFocus(), Edit);
  EXPECT_EQ(Edit->Text(), u"");
  EXPECT_TRUE(Log.empty());

  // Alt pressed and released alone enters, and again leaves; Alt with a key between does not.
  SimulateKeyPress(VK_MENU, {ssAlt});
  EXPECT_EQ(Menu->HotItem(), File);
  SimulateKeyPress(VK_MENU, {ssAlt});
  EXPECT_EQ(Menu->HotItem(), nullptr);
  SimulateKeyDown(VK_MENU, {ssAlt});
  SimulateKeyPress(VK_LEFT, {ssAlt});
  SimulateKeyUp(VK_MENU, {});
  EXPECT_EQ(Menu->HotItem(), nullptr);
  // Alt+Tab to another program and back: the release of Alt does not enter.
  SimulateKeyDown(VK_MENU, {ssAlt});
  Application->SetActive(false);
  Application->SetActive(true);
  SimulateKeyUp(VK_MENU, {});
  EXPECT_EQ(Menu->HotItem(), nullptr);
  // A press anywhere leaves the mode and reaches its control.
  SimulateKeyPress(VK_F10);
  SimulateClick(Edit, {5, 5});
  EXPECT_EQ(Menu->HotItem(), nullptr);
  SimulateTyping(u"ок");
  EXPECT_EQ(Edit->Text(), u"ок");
}

TEST_F(MainMenuTest, InMenuModeMenusOpenAndLeadOnAlongTheBar) {
  Form->SetMenu(Menu);
  Edit->SetFocus();
  std::vector<TMenuItem*> Dropped;
  TMenuLeave Next = mlNext;
  TMainMenu::SetChooser([&](TMenuItem* Item, TPoint, TBarMenuExit& Exit) {
    Dropped.push_back(Item);
    Exit.Leave = Next;
    return nullptr;
  });
  SimulateKeyPress(VK_F10);
  SimulateKeyPress(VK_DOWN);
  // Right in File's menu leads on to Help, which has no menu: highlighted, not clicked.
  EXPECT_EQ(Dropped, std::vector<TMenuItem*>{File});
  EXPECT_EQ(Menu->HotItem(), Help);
  EXPECT_EQ(Log, (std::vector<std::string>{"Файл"}));
  // Esc in an open menu comes back to the bar with its item highlighted.
  Next = mlEscape;
  SimulateKeyPress('A', {}, u'ф');   // File's accelerator
  EXPECT_EQ(Dropped.back(), File);
  EXPECT_EQ(Menu->HotItem(), File);
  // Return on an item without a menu clicks it and ends the mode.
  SimulateKeyPress(VK_LEFT);
  SimulateKeyPress(VK_RETURN);
  EXPECT_EQ(Log.back(), "Справка");
  EXPECT_EQ(Menu->HotItem(), nullptr);
  // A choice in the menu ends it too.
  TMainMenu::SetChooser([&](TMenuItem*, TPoint, TBarMenuExit&) { return Create; });
  SimulateKeyPress(VK_F10);
  SimulateKeyPress(VK_RETURN);
  EXPECT_EQ(Log.back(), "Создать");
  EXPECT_EQ(Menu->HotItem(), nullptr);
  EXPECT_EQ(Edit->Text(), u"");
}

// Acts on the Qt menus as they open: the first action on the first menu, the next one on the
// menu opened after that one is gone, and so on. A menu still open after three seconds is
// closed, so that a test cannot hang.
using TMenuAction = std::function<void(QWidget* Menu)>;
void ActOnMenus(std::vector<TMenuAction> Actions) {
  auto* Timer = new QTimer(qApp);
  auto Pending = std::make_shared<std::vector<TMenuAction>>(std::move(Actions));
  auto Acted = std::make_shared<bool>(false);   // on the menu open now
  QObject::connect(Timer, &QTimer::timeout, [Timer, Pending, Acted] {
    QWidget* Menu = QApplication::activePopupWidget();
    if (!Menu || *Acted) return;
    const TMenuAction Act = Pending->front();
    Pending->erase(Pending->begin());
    *Acted = true;
    QObject::connect(Menu, &QObject::destroyed, [Acted] { *Acted = false; });
    if (Pending->empty()) Timer->deleteLater();
    Act(Menu);
  });
  Timer->start(1);
  QTimer::singleShot(3000, [] {
    if (QWidget* Menu = QApplication::activePopupWidget()) Menu->close();
  });
}

TMenuAction Press(Qt::Key Key) {
  return [Key](QWidget* Menu) {
    QKeyEvent Event(QEvent::KeyPress, Key, Qt::NoModifier);
    QApplication::sendEvent(Menu, &Event);
  };
}

TMenuAction MovePointerTo(TPoint Screen) {
  return [Screen](QWidget* Menu) {
    const QPoint Global(Screen.X, Screen.Y);
    QMouseEvent Event(QEvent::MouseMove, Menu->mapFromGlobal(QPointF(Global)), QPointF(Global),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(Menu, &Event);
  };
}

TEST_F(MainMenuTest, TheQtMenuLeadsOnAlongTheBarAndBackWithEsc) {
  // Real Qt menus, on the offscreen platform, for this test only.
  static int Argc = 1;
  static char Arg0[] = "MenusTest";
  static char* Argv[] = {Arg0, nullptr};
  const bool OwnApp = !QApplication::instance();
  std::unique_ptr<QApplication> App(OwnApp ? new QApplication(Argc, Argv) : nullptr);
  TMenuItem* Tools = AddItem(Menu->Items(), u"Се&рвис");
  AddItem(Tools, u"&Настройка");
  Form->SetMenu(Menu);
  Edit->SetFocus();
  // Right in File's menu: Help has none, so it is highlighted.
  SimulateKeyPress(VK_F10);
  ActOnMenus({Press(Qt::Key_Right)});
  SimulateKeyPress(VK_DOWN);
  EXPECT_EQ(Menu->HotItem(), Help);
  // The pointer onto Tools while File's menu is open opens Tools' menu; Esc there comes back
  // to the bar on Tools.
  SimulateKeyPress(VK_LEFT);
  const TPoint OnTools = Form->ClientToScreen({BarX(Tools), -TMainMenu::BarHeight() / 2});
  ActOnMenus({MovePointerTo(OnTools), Press(Qt::Key_Escape)});
  SimulateKeyPress(VK_DOWN);
  EXPECT_EQ(Menu->HotItem(), Tools);
  EXPECT_EQ(Log, (std::vector<std::string>{"Файл", "Файл", "Сервис"}));
  SimulateKeyPress(VK_ESCAPE);
  EXPECT_EQ(Menu->HotItem(), nullptr);
}

TEST_F(MainMenuTest, LosingTheMenuOrTheFormEndsMenuMode) {
  Form->SetMenu(Menu);
  Edit->SetFocus();
  SimulateKeyPress(VK_F10);
  Form->SetMenu(nullptr);
  SimulateTyping(u"а");
  EXPECT_EQ(Edit->Text(), u"а");
  Form->SetMenu(Menu);
  SimulateKeyPress(VK_F10);
  delete Form;   // the keys must not reach a freed form
  Form = nullptr;
  SimulateKeyPress(VK_RIGHT);
}

TEST_F(MainMenuTest, FormWithMenuBarRendersToPng) {
  Form->SetCaption(u"Заказы");
  TImageList Images(16, 16);
  TBitmap Icon(16, 16);
  Icon.Canvas()->Brush()->SetColor(clGreen);
  Icon.Canvas()->FillRect(Rect(0, 0, 16, 16));
  Images.AddMasked(&Icon, clNone);
  Menu->SetImages(&Images);
  Help->SetImageIndex(0);
  AddItem(Menu->Items(), u"Серви&с")->SetEnabled(false);
  Form->SetMenu(Menu);
  Edit->SetText(u"Белила");
  const std::filesystem::path Png = std::filesystem::temp_directory_path() / "main-menu-form.png";
  SaveControlToPng(Form, Utf8ToString(Png.string()));
  EXPECT_GT(std::filesystem::file_size(Png), 1000u);
  Form->SetMenu(nullptr);
}

}  // namespace
