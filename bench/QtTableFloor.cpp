// QtTableFloor.cpp - the floor for the program's start-up: a bare QTableView over a
// QSqlQueryModel on the same catalogue query, every row fetched, shown in a window of the main
// window's size. Prints "floor: painted" after the view's first paint, as the program prints its
// probe line; AppWindowBench starts it beside the program and times both.
//
//   QtTableFloor <database file>
#include <QApplication>
#include <QEvent>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTableView>

#include <cstdio>

namespace {

// Prints the line once, after the first paint of the view's viewport.
class TPaintProbe : public QObject {
public:
  bool eventFilter(QObject* Watched, QEvent* Event) override {
    if (Event->type() == QEvent::Paint && !FDone) {
      FDone = true;
      QMetaObject::invokeMethod(this, [] {
        std::printf("floor: painted\n");
        std::fflush(stdout);
      }, Qt::QueuedConnection);
    }
    return QObject::eventFilter(Watched, Event);
  }

private:
  bool FDone = false;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: QtTableFloor <database file>\n");
    return 2;
  }
  QApplication App(argc, argv);
  QSqlDatabase Db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
  Db.setDatabaseName(QString::fromLocal8Bit(argv[1]));
  if (!Db.open()) {
    std::fprintf(stderr, "cannot open %s\n", argv[1]);
    return 1;
  }
  QSqlQueryModel Model;
  Model.setQuery(QStringLiteral("SELECT DS_COLOR.*, ID AS ID1 FROM DS_COLOR "
                                "WHERE ROUND(AM,2)=100 ORDER BY IND, NM, ID"),
                 Db);
  while (Model.canFetchMore()) Model.fetchMore();
  QTableView View;
  View.setModel(&Model);
  View.resize(1214, 817);
  TPaintProbe Probe;
  View.viewport()->installEventFilter(&Probe);
  View.show();
  return App.exec();
}
