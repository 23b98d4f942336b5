#include "TableTexts.h"

#include <QCoreApplication>
#include <QStringList>
#include <string>

#include "QtText.h"
#include "TaskTable.h"

namespace vardo {

namespace {

constexpr char kContext[] = "vardo::TaskTable";

// The table texts the core keeps, marked here for the translators' tools.
[[maybe_unused]] constexpr const char* kMarkedTexts[] = {
    // Header captions.
    QT_TRANSLATE_NOOP("vardo::TaskTable", "序号"),
    QT_TRANSLATE_NOOP("vardo::TaskTable", "程序文件"),
    QT_TRANSLATE_NOOP("vardo::TaskTable", "参数列表"),
    QT_TRANSLATE_NOOP("vardo::TaskTable", "任务说明"),
    QT_TRANSLATE_NOOP("vardo::TaskTable", "启动时间"),
    QT_TRANSLATE_NOOP("vardo::TaskTable", "结束时间"),
    QT_TRANSLATE_NOOP("vardo::TaskTable", "应用程序标题"),
    QT_TRANSLATE_NOOP("vardo::TaskTable", "排它"),
    QT_TRANSLATE_NOOP("vardo::TaskTable", "窗口设置"),
    QT_TRANSLATE_NOOP("vardo::TaskTable", "显示器"),
    QT_TRANSLATE_NOOP("vardo::TaskTable", "状态"),
    QT_TRANSLATE_NOOP("vardo::TaskTable", "运行时间"),
    QT_TRANSLATE_NOOP("vardo::TaskTable", "提示时长"),
    // Column hints.
    QT_TRANSLATE_NOOP("vardo::TaskTable", "拖动序号栏，可改变节目先后顺序"),
    QT_TRANSLATE_NOOP("vardo::TaskTable", "执行任务的应用程序文件名"),
    QT_TRANSLATE_NOOP("vardo::TaskTable",
                      "参数请用双引号括起来，多个参数则要分别括起来，之间要留一个空格符号"),
    QT_TRANSLATE_NOOP("vardo::TaskTable", "此栏填写任务说明，便于了解任务信息"),
    QT_TRANSLATE_NOOP("vardo::TaskTable", "启动时间：对需要定时启动的任务，指定其启动时间"),
    QT_TRANSLATE_NOOP("vardo::TaskTable", "结束时间：对需要定时结束的任务，指定其结束时间"),
    QT_TRANSLATE_NOOP("vardo::TaskTable",
                      "重要，如果只改变应用程序的一个窗口位置，请输入该窗口的标题！否则由其创建的"
                      "全部窗口都会改变位置"),
    QT_TRANSLATE_NOOP("vardo::TaskTable",
                      "选择排它运行任务，则该任务启动时，先前启动的任何任务都会被强行结束"),
    QT_TRANSLATE_NOOP("vardo::TaskTable",
                      "选择维持，表示任务创建的窗口维持原应用程序创建它们时的大小不变；否则，都会"
                      "被最大化"),
    QT_TRANSLATE_NOOP("vardo::TaskTable",
                      "如果计算机安装有扩展的显示器，可以指定任务显示窗口到指定的显示器"),
    QT_TRANSLATE_NOOP("vardo::TaskTable", "PID 系统使用的数据，由计算机自动填写！"),
    QT_TRANSLATE_NOOP("vardo::TaskTable", "PWND 系统使用的数据，由计算机自动填写！"),
    QT_TRANSLATE_NOOP("vardo::TaskTable", "PHDL 系统使用的数据，由计算机自动填写！"),
    QT_TRANSLATE_NOOP("vardo::TaskTable", "由本系统启动的应用程序的工作状态"),
    QT_TRANSLATE_NOOP("vardo::TaskTable", "系统记录任务运行的时间"),
    QT_TRANSLATE_NOOP("vardo::TaskTable", "任务运行时间长度超过此值：系统弹出提示窗口"),
    // Stored values.
    QT_TRANSLATE_NOOP("vardo::TaskTable", "是"),
    QT_TRANSLATE_NOOP("vardo::TaskTable", "否"),
    QT_TRANSLATE_NOOP("vardo::TaskTable", "最大"),
    QT_TRANSLATE_NOOP("vardo::TaskTable", "无"),
    QT_TRANSLATE_NOOP("vardo::TaskTable", "在播"),
    QT_TRANSLATE_NOOP("vardo::TaskTable", "停播"),
};

}  // namespace

QString TableText(std::string_view stored) {
    if (stored.empty()) return {};
    return QCoreApplication::translate(kContext, std::string(stored).c_str());
}

QString ShownCell(int column, std::string_view stored) {
    if (column == ColExclusive || column == ColRunState) return TableText(stored);
    if (column != ColWindowSetting) return ToQString(stored);
    QStringList parts = ToQString(stored).split(QLatin1Char(','));
    for (QString& part : parts) part = TableText(part.toStdString());
    return parts.join(QLatin1Char(','));
}

}  // namespace vardo
