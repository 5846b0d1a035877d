// The baseline of the start-up measure: a bare Qt program that shows the controls of
// the tool's main window (same title, size, four edit boxes, six labels, four
// buttons) and nothing else.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

namespace {

template <typename T> T *Place(QWidget *window, T *control, int x, int y, int w, int h) {
    control->setParent(window);
    control->setGeometry(x, y, w, h);
    return control;
}

} // namespace

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QString::fromUtf8("Sorvel关键词查询网址工具"));
    window.setGeometry(50, 50, 589, 455);
    Place(&window, new QLabel(QString::fromUtf8("Sorvel关键词查询网址工具")), 10, 5, 300, 20);
    Place(&window, new QLabel(QString::fromUtf8("关键字：")), 10, 30, 60, 20);
    Place(&window, new QPlainTextEdit(QString::fromUtf8("Lumora 官网\n新浪\nSorvel网\n板凳")), 10, 55, 180, 250);
    Place(&window, new QLabel(QString::fromUtf8("采集")), 10, 315, 40, 20);
    Place(&window, new QLineEdit(QStringLiteral("1")), 50, 315, 40, 20);
    Place(&window, new QLabel(QString::fromUtf8("页")), 95, 315, 30, 20);
    Place(&window, new QPlainTextEdit, 200, 30, 370, 300);
    Place(&window, new QPlainTextEdit, 10, 345, 560, 60);
    Place(&window, new QPushButton(QString::fromUtf8("开始采集")), 10, 415, 100, 28);
    Place(&window, new QPushButton(QString::fromUtf8("保存网址")), 120, 415, 100, 28);
    Place(&window, new QPushButton(QString::fromUtf8("清空网址")), 230, 415, 100, 28);
    Place(&window, new QPushButton(QString::fromUtf8("全选网址")), 340, 415, 100, 28);
    Place(&window, new QLabel(QString::fromUtf8("导出：")), 450, 420, 60, 20);
    Place(&window, new QLabel, 510, 420, 60, 20);
    window.show();
    return application.exec();
}
