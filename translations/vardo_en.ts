<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>vardo::CommandLine</name>
    <message>
        <source>用法：vardo [选项]... [QT 选项]...
按当天的任务计划表在规定的时间启动和结束程序，并把它们的窗口放到指定的显示器上。

  -h, --help     显示本帮助并退出
  -v, --version  显示版本并退出

Qt 自己的选项与所有 Qt 程序相同，例如 -platform xcb、-display :0、-style。

便携的 vardo 把文件放在程序文件旁边：Data/（任务计划表）、History/（运行历史）、
VARDO.INI（系统参数）和 Skins/。安装的 vardo 把它们放在 $XDG_DATA_HOME/vardo/
（默认 ~/.local/share/vardo/），并列出随程序安装的皮肤。
界面语言由区域设置（LANG、LC_MESSAGES）或 VARDO.INI 的 [START] Language（zh_CN、en）选择。
</source>
        <translation>Usage: vardo [OPTION]... [QT OPTION]...
Start and end the programs of the day&apos;s timetable at their times, and place their windows
on the chosen monitor.

  -h, --help     print this help and exit
  -v, --version  print the version and exit

Qt&apos;s own options work as in every Qt program, e.g. -platform xcb, -display :0, -style.

A portable vardo keeps its files beside the executable: Data/ (timetables), History/ (run
history), VARDO.INI (settings) and Skins/. The installed vardo keeps them in
$XDG_DATA_HOME/vardo/ (default ~/.local/share/vardo/) and also lists the skins it ships.
The windows speak the locale&apos;s language (LANG, LC_MESSAGES) or the one [START] Language of
VARDO.INI names (zh_CN, en).
</translation>
    </message>
</context>
<context>
    <name>vardo::HistoryLine</name>
    <message>
        <source> 启动任务: 【</source>
        <translation> Started: [</translation>
    </message>
    <message>
        <source> 结束任务: 【</source>
        <translation> Ended: [</translation>
    </message>
    <message>
        <source> 任务结束: 【</source>
        <translation> Task exited: [</translation>
    </message>
    <message>
        <source>】</source>
        <translation>]</translation>
    </message>
    <message>
        <source> 窗口未能放置: 【</source>
        <translation> Window not placed: [</translation>
    </message>
    <message>
        <source> 启动失败: 【</source>
        <translation> Start failed: [</translation>
    </message>
    <message>
        <source> 结束失败: 【</source>
        <translation> End failed: [</translation>
    </message>
    <message>
        <source> 装入任务计划表: 【</source>
        <translation> Timetable loaded: [</translation>
    </message>
    <message>
        <source> 任务计划表未装入: 【</source>
        <translation> Timetable not loaded: [</translation>
    </message>
</context>
<context>
    <name>vardo::ReportCommandLine</name>
    <message>
        <source>用法：vardo-report 程序文件夹 --from YYYY-MM-DD [--to YYYY-MM-DD] [--csv 文件] [--png 文件]
按程序文件夹中的运行历史 History/YYYYMMDD.txt 和 Data/ 中的任务计划表，报告从 --from 到 --to
（默认只有 --from 那一天）各天实际运行的与计划的对比（播出记录）。程序文件夹是存放程序的
Data/ 和 History/ 的文件夹：安装的程序为 ~/.local/share/vardo（设置了 $XDG_DATA_HOME 时为
$XDG_DATA_HOME/vardo），构建的运行命令所启动的程序为 build/run。

每天的任务计划表按程序的方式选择：Data/YYYY-MM-DD.tab，否则 Data/星期X.tab，否则
Data/任务计划表.tab，以这些文件的现状为准。

  --from 日期   报告的第一天
  --to 日期     报告的最后一天（一份报告最多 3660 天）
  --csv 文件    把报告写成 CSV（带字节顺序标记的 UTF-8）；- 表示标准输出
  --png 文件    每天画一条时间线：计划与实际的时段、未启动和迟启动
  --help        显示本说明并退出
  --version     显示版本并退出

没有 --csv 和 --png 时 CSV 写到标准输出。它的列：date, row, application, description,
planned_start, planned_end, actual_start, actual_end, end_kind（ended、exited 或 none）,
run_seconds, start_delay_seconds, status（ran、late、missed、pending、unplanned，或没有开始
时间且未运行的行为空）；每个任务计划表行每天一行，然后每个没有行可解释的启动一行（row 为空）。
午夜之后的结束从 24:00:00 往后计（24:00:20 即次日 00:00:20）；以 = + - 或 @ 开头的文本前加 &apos;，
使电子表格把它当作文本。

历史文件中不是历史行的行被跳过，其数目写在标准错误上。
退出状态：0 报告已写出，1 有文件无法写入，2 命令行错误，或程序文件夹不存在或既无 Data/ 也无
History/。
</source>
        <translation>Usage: vardo-report PROGRAM_FOLDER --from YYYY-MM-DD [--to YYYY-MM-DD] [--csv FILE] [--png FILE]
Report what ran against what was planned (the as-run log) for the days from --from to --to
(default: the --from day alone), from the history files History/YYYYMMDD.txt and the
timetables in Data/ of PROGRAM_FOLDER: the folder that holds the program&apos;s Data/ and
History/, ~/.local/share/vardo for the installed program ($XDG_DATA_HOME/vardo when set),
build/run for the one the build&apos;s run command starts.

Each day&apos;s timetable is chosen as the program chooses it: Data/YYYY-MM-DD.tab, else
Data/星期X.tab, else Data/任务计划表.tab, as these files are now.

  --from DATE   first day of the report
  --to DATE     last day of the report (a report covers at most 3660 days)
  --csv FILE    write the report as CSV (UTF-8 with a byte-order mark); - for standard output
  --png FILE    draw a timeline per day: planned and actual spans, missed and late starts
  --help        show this text and exit
  --version     show the version and exit

Without --csv and --png the CSV goes to standard output. Its columns: date, row,
application, description, planned_start, planned_end, actual_start, actual_end, end_kind
(ended, exited or none), run_seconds, start_delay_seconds, status (ran, late, missed,
pending, unplanned, or empty for a row without a start time that did not run); one line
per timetable row and day, then one per start that no row explains (row empty). An end
after midnight counts on from 24:00:00 (24:00:20 is 00:00:20 of the next day); a text
starting with = + - or @ gets a leading &apos; so that spreadsheets take it as text.

Lines of a history file that are not history lines are skipped and counted on standard error.
Exit status: 0 when the report was written, 1 when a file could not be written, 2 for a wrong
command line or a folder that is missing or holds neither Data/ nor History/.
</translation>
    </message>
</context>
<context>
    <name>vardo::SkinCommandLine</name>
    <message>
        <source>用法：vardo-skin pack 文件夹 文件.skn [--version 20000|30000|40000]
      vardo-skin unpack 文件.skn 文件夹
      vardo-skin list 文件.skn
      vardo-skin --help | --version
</source>
        <translation>usage: vardo-skin pack FOLDER FILE.skn [--version 20000|30000|40000]
       vardo-skin unpack FILE.skn FOLDER
       vardo-skin list FILE.skn
       vardo-skin --help | --version
</translation>
    </message>
    <message>
        <source>打包、解包和列出皮肤文件（.skn），它们给 vardo 的窗口以边框、标题栏和控件。

  pack 文件夹 文件.skn   把文件夹中的每个文件打包进 文件.skn，容器版本为 20000，
                         除非其后跟 --version 30000 或 40000
  unpack 文件.skn 文件夹 把各条目写入文件夹（重名的取第一个，不写到文件夹之外）
  list 文件.skn          列出容器版本，然后每个条目的名称和大小
  --help                 显示本说明并退出
  --version              显示版本并退出

退出状态：0 成功；1 外来的或损坏的皮肤文件（包括被截短的）、文件夹不存在或条目名带有
文件夹部分，在标准错误上用一行说明；2 参数错误。
</source>
        <translation>Pack, unpack and list the skin files (.skn) that give vardo&apos;s windows their frames,
captions and controls.

  pack FOLDER FILE.skn   pack every file of FOLDER into FILE.skn, as a container of version
                         20000 unless --version 30000 or 40000 follows
  unpack FILE.skn FOLDER write the entries into FOLDER (of repeated names the first,
                         nothing outside FOLDER)
  list FILE.skn          print the container version, then each entry&apos;s name and size
  --help                 show this text and exit
  --version              show the version and exit

Exit status: 0 on success; 1 for a foreign or damaged skin file (one cut short included),
a missing folder or an entry name with a folder part, said on one line of standard error;
2 for wrong arguments.
</translation>
    </message>
</context>
<context>
    <name>vardo::SkinFile</name>
    <message>
        <source>文件不足 4 字节</source>
        <translation>the file is shorter than 4 bytes</translation>
    </message>
    <message>
        <source>声明的解压大小 %1 不在 %2 到 %3 字节之间</source>
        <translation>the declared unpacked size %1 is not between %2 and %3 bytes</translation>
    </message>
    <message>
        <source>文件不完整：数据在解压出声明的 %1 字节之前已结束</source>
        <translation>the file is incomplete: its data ends before the declared %1 bytes are unpacked</translation>
    </message>
    <message>
        <source>容器不足 16 字节</source>
        <translation>the container is shorter than 16 bytes</translation>
    </message>
    <message>
        <source>容器版本 %1 不是 20000、30000 或 40000</source>
        <translation>the container version %1 is not 20000, 30000 or 40000</translation>
    </message>
    <message>
        <source>名称表长度 %1 超出容器</source>
        <translation>the name table length %1 goes beyond the container</translation>
    </message>
    <message>
        <source>条目多于 %1 个</source>
        <translation>more than %1 entries</translation>
    </message>
    <message>
        <source>条目大小表超出容器</source>
        <translation>the table of entry sizes goes beyond the container</translation>
    </message>
    <message>
        <source>第 %1 个条目的大小 %2 超出数据区</source>
        <translation>the size %2 of entry %1 goes beyond the data area</translation>
    </message>
    <message>
        <source>条目大小之和 %1 与数据区的 %2 字节不符</source>
        <translation>the entry sizes add up to %1, not to the %2 bytes of the data area</translation>
    </message>
    <message>
        <source>此文件版本不同<byte value="xd"/>请升级新版本 !</source>
        <translation>This file is of another version<byte value="xd"/>Please upgrade to the new version!</translation>
    </message>
</context>
<context>
    <name>vardo::SystemMenu</name>
    <message>
        <source>还原(&amp;R)</source>
        <translation>&amp;Restore</translation>
    </message>
    <message>
        <source>移动(&amp;M)</source>
        <translation>&amp;Move</translation>
    </message>
    <message>
        <source>大小(&amp;S)</source>
        <translation>&amp;Size</translation>
    </message>
    <message>
        <source>最小化(&amp;N)</source>
        <translation>Mi&amp;nimize</translation>
    </message>
    <message>
        <source>最大化(&amp;X)</source>
        <translation>Ma&amp;ximize</translation>
    </message>
    <message>
        <source>关闭(&amp;C)	Alt+F4</source>
        <translation>&amp;Close	Alt+F4</translation>
    </message>
</context>
<context>
    <name>vardo::TFrmMain</name>
    <message>
        <source>对不起,发现该计算机没有高性能计数器.<byte value="xd"/>
请升级您的计算机和操作系统.系统退出</source>
        <translation>Sorry, this computer has no high-resolution counter.<byte value="xd"/>
Please upgrade the computer and its operating system. The program ends.</translation>
    </message>
    <message>
        <source>退出系统，任务自动启动将停止！
<byte value="xd"/>
<byte value="xd"/>按“取消”按钮停止退出。</source>
        <translation>Exit the program: tasks will no longer start by themselves!
<byte value="xd"/>
<byte value="xd"/>Press “Cancel” to stay.</translation>
    </message>
    <message>
        <source>确认退出</source>
        <translation>Confirm exit</translation>
    </message>
    <message>
        <source>运行历史写入失败：</source>
        <translation>Run history not written: </translation>
    </message>
    <message>
        <source>未保存的修改无法另存，程序不退出：</source>
        <translation>Unsaved changes could not be kept elsewhere; the program stays open: </translation>
    </message>
    <message>
        <source>  提示：任务%1
<byte value="xd"/>【%2】
<byte value="xd"/>已经运行了：%3</source>
        <translation>  Reminder: task %1
<byte value="xd"/>[%2]
<byte value="xd"/>has run for: %3</translation>
    </message>
    <message>
        <source>退出编辑状态</source>
        <translation>End editing</translation>
    </message>
    <message>
        <source>节目表状态：编辑状态，运行播出检查停止</source>
        <translation>Timetable: editing, checks stopped</translation>
    </message>
    <message>
        <source>进入编辑状态</source>
        <translation>Edit table</translation>
    </message>
    <message>
        <source>节目表状态：运行播出检查</source>
        <translation>Timetable: checking schedule</translation>
    </message>
    <message>
        <source>保存失败：</source>
        <translation>Save failed: </translation>
    </message>
    <message>
        <source>任务计划表保存失败：
</source>
        <translation>The timetable could not be saved:
</translation>
    </message>
    <message>
        <source>任务计划表另存为...</source>
        <translation>Save timetable as...</translation>
    </message>
    <message>
        <source>任务计划表文件(*.tab) (*.tab)</source>
        <translation>Timetable files (*.tab)</translation>
    </message>
    <message>
        <source> 【提示】：</source>
        <translation> [Hint]: </translation>
    </message>
    <message>
        <source>应用程序文件(*)</source>
        <translation>Program files (*)</translation>
    </message>
    <message>
        <source>所有磁盘文件(*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>系统参数设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>退出程序</source>
        <translation>Exit program</translation>
    </message>
    <message>
        <source>程序任务说明：</source>
        <translation>Description:</translation>
    </message>
    <message>
        <source>应用程序文件：</source>
        <translation>Program:</translation>
    </message>
    <message>
        <source>鼠标双击：可打开应用程序选择窗口</source>
        <translation>Double-click: choose the program</translation>
    </message>
    <message>
        <source>运行参数列表：</source>
        <translation>Arguments:</translation>
    </message>
    <message>
        <source>鼠标双击：可打开文件选择窗口(如果需要选择文件作为参数的话)</source>
        <translation>Double-click: choose a file (when a file is to be an argument)</translation>
    </message>
    <message>
        <source>应用程序标题：</source>
        <translation>Window title:</translation>
    </message>
    <message>
        <source>参数添加到原参数后面</source>
        <translation>Append to the arguments</translation>
    </message>
    <message>
        <source>任务启动时间：</source>
        <translation>Start time:</translation>
    </message>
    <message>
        <source>任务结束时间：</source>
        <translation>End time:</translation>
    </message>
    <message>
        <source>鼠标双击清除时间</source>
        <translation>Double-click to clear the time</translation>
    </message>
    <message>
        <source>提示时长：</source>
        <translation>Remind at:</translation>
    </message>
    <message>
        <source>程序窗口所处显示器：</source>
        <translation>Window on monitor:</translation>
    </message>
    <message>
        <source>排它运行</source>
        <translation>Exclusive</translation>
    </message>
    <message>
        <source>维持窗口大小</source>
        <translation>Keep size</translation>
    </message>
    <message>
        <source>最大</source>
        <translation>Max</translation>
    </message>
    <message>
        <source>应用程序窗口最大化</source>
        <translation>Maximise the program&apos;s window</translation>
    </message>
    <message>
        <source>无</source>
        <translation>None</translation>
    </message>
    <message>
        <source>应用程序窗口不显示</source>
        <translation>Do not show the program&apos;s window</translation>
    </message>
    <message>
        <source>增加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>复制增加</source>
        <translation>Add copy</translation>
    </message>
    <message>
        <source>插入</source>
        <translation>Insert</translation>
    </message>
    <message>
        <source>复制插入</source>
        <translation>Ins. copy</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>另存为</source>
        <translation>Save as</translation>
    </message>
    <message>
        <source>打开指定任务计划表</source>
        <translation>Open timetable</translation>
    </message>
    <message>
        <source>启动</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>！进入任务表编辑状态，将停止扫描检查任务表。退出时，恢复检查！</source>
        <translation>Editing the timetable stops the schedule checks; ending the edit resumes them!</translation>
    </message>
    <message>
        <source>人工启动指定程序</source>
        <translation>Start the chosen program by hand</translation>
    </message>
    <message>
        <source>手动结束指定程序</source>
        <translation>End the chosen program by hand</translation>
    </message>
    <message>
        <source>  正在播放：无</source>
        <translation>  Now playing: none</translation>
    </message>
    <message>
        <source>任务运行历史数据</source>
        <translation>Run history of the tasks</translation>
    </message>
    <message>
        <source>窗口定位不可用</source>
        <translation>Window placement unavailable</translation>
    </message>
    <message>
        <source>无法连接 X 显示服务：任务照常启动和结束，但不能查找和放置其窗口</source>
        <translation>No connection to the X display server: tasks start and end as usual, but their windows cannot be found and placed</translation>
    </message>
    <message>
        <source> 任务说明</source>
        <translation> Task</translation>
    </message>
    <message>
        <source> 节目表状态：运行播出检查</source>
        <translation> Timetable: checking schedule</translation>
    </message>
    <message>
        <source>窗口边框</source>
        <translation>window edges</translation>
    </message>
    <message>
        <source>关闭按钮</source>
        <translation>close button</translation>
    </message>
    <message>
        <source>按钮图像</source>
        <translation>button images</translation>
    </message>
    <message>
        <source>皮肤不完整，缺少%1</source>
        <translation>Skin incomplete, lacks %1</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>窗口保留系统的标题栏和边框，可照常移动和关闭</source>
        <translation>The windows keep the system&apos;s title bar and edges, and move and close as usual</translation>
    </message>
    <message>
        <source>按钮按系统样式显示</source>
        <translation>Buttons are shown in the system&apos;s style</translation>
    </message>
    <message>
        <source>皮肤未能载入</source>
        <translation>Skin not loaded</translation>
    </message>
    <message>
        <source>未保存的修改已另存为：</source>
        <translation>Unsaved edits kept as: </translation>
    </message>
    <message>
        <source>未保存的修改无法另存，暂不装入任务计划表：</source>
        <translation>Unsaved edits could not be kept, the timetable is not loaded yet: </translation>
    </message>
</context>
<context>
    <name>vardo::TFrmSetup</name>
    <message>
        <source>系统参数设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source> 参数设置 </source>
        <translation> Options </translation>
    </message>
    <message>
        <source>开机最小化</source>
        <translation>Start minimised</translation>
    </message>
    <message>
        <source>开机自动启动系统</source>
        <translation>Start at log-in</translation>
    </message>
    <message>
        <source>退出系统时提示确认</source>
        <translation>Confirm on exit</translation>
    </message>
    <message>
        <source>记录运行历史</source>
        <translation>Keep run history</translation>
    </message>
    <message>
        <source>退出时关闭任务</source>
        <translation>End tasks on exit</translation>
    </message>
    <message>
        <source>使用透明显示[XP]</source>
        <translation>Transparent [XP]</translation>
    </message>
    <message>
        <source>透明度</source>
        <translation>Opacity</translation>
    </message>
    <message>
        <source>自动关闭电脑时间</source>
        <translation>Shut down at</translation>
    </message>
    <message>
        <source>自动装入节目时间</source>
        <translation>Load timetable at</translation>
    </message>
    <message>
        <source>有三级优先节目：YYYY-MM-DD.tab，星期X.tab，任务计划表.tab</source>
        <translation>Three levels of timetable, first found wins: YYYY-MM-DD.tab, 星期X.tab, 任务计划表.tab</translation>
    </message>
    <message>
        <source>换肤</source>
        <translation>Skin</translation>
    </message>
    <message>
        <source>风格：</source>
        <translation>Style:</translation>
    </message>
    <message>
        <source>语言：</source>
        <translation>Language:</translation>
    </message>
    <message>
        <source>下次启动时使用所选的语言</source>
        <translation>The chosen language applies from the next start</translation>
    </message>
    <message>
        <source>关闭窗口</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>跟随系统</source>
        <translation>System</translation>
    </message>
</context>
<context>
    <name>vardo::TSkinData</name>
    <message>
        <source>找不到皮肤文件：</source>
        <translation>Skin file not found: </translation>
    </message>
    <message>
        <source>皮肤文件中没有皮肤定义 (.ini)</source>
        <translation>The skin file holds no skin definition (.ini)</translation>
    </message>
    <message>
        <source>皮肤数据不完整</source>
        <translation>Skin data incomplete</translation>
    </message>
    <message>
        <source>无法读取皮肤文件：%1：%2</source>
        <translation>Cannot read the skin file: %1: %2</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>vardo::TaskTable</name>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>程序文件</source>
        <translation>Program</translation>
    </message>
    <message>
        <source>参数列表</source>
        <translation>Args</translation>
    </message>
    <message>
        <source>任务说明</source>
        <translation>Task</translation>
    </message>
    <message>
        <source>启动时间</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>结束时间</source>
        <translation>End</translation>
    </message>
    <message>
        <source>应用程序标题</source>
        <translation>Window title</translation>
    </message>
    <message>
        <source>排它</source>
        <translation>Excl</translation>
    </message>
    <message>
        <source>窗口设置</source>
        <translation>Window</translation>
    </message>
    <message>
        <source>显示器</source>
        <translation>Mon</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>Live</translation>
    </message>
    <message>
        <source>运行时间</source>
        <translation>Runtime</translation>
    </message>
    <message>
        <source>提示时长</source>
        <translation>Remind</translation>
    </message>
    <message>
        <source>拖动序号栏，可改变节目先后顺序</source>
        <translation>Drag the number column to change the order of the tasks</translation>
    </message>
    <message>
        <source>执行任务的应用程序文件名</source>
        <translation>The program file that performs the task</translation>
    </message>
    <message>
        <source>参数请用双引号括起来，多个参数则要分别括起来，之间要留一个空格符号</source>
        <translation>Put each argument in double quotes, separated by one space</translation>
    </message>
    <message>
        <source>此栏填写任务说明，便于了解任务信息</source>
        <translation>A description of the task, for the operator</translation>
    </message>
    <message>
        <source>启动时间：对需要定时启动的任务，指定其启动时间</source>
        <translation>Start time: when the task is to start by itself</translation>
    </message>
    <message>
        <source>结束时间：对需要定时结束的任务，指定其结束时间</source>
        <translation>End time: when the task is to be ended</translation>
    </message>
    <message>
        <source>重要，如果只改变应用程序的一个窗口位置，请输入该窗口的标题！否则由其创建的全部窗口都会改变位置</source>
        <translation>Important: to place only one window of the program, enter its title! Otherwise all its windows are placed</translation>
    </message>
    <message>
        <source>选择排它运行任务，则该任务启动时，先前启动的任何任务都会被强行结束</source>
        <translation>An exclusive task ends every task started before it when it starts</translation>
    </message>
    <message>
        <source>选择维持，表示任务创建的窗口维持原应用程序创建它们时的大小不变；否则，都会被最大化</source>
        <translation>Keep: the windows keep the size the program gave them; otherwise they are maximised</translation>
    </message>
    <message>
        <source>如果计算机安装有扩展的显示器，可以指定任务显示窗口到指定的显示器</source>
        <translation>With more than one monitor, choose the monitor for the task&apos;s windows</translation>
    </message>
    <message>
        <source>PID 系统使用的数据，由计算机自动填写！</source>
        <translation>PID: kept by the program, filled in automatically!</translation>
    </message>
    <message>
        <source>PWND 系统使用的数据，由计算机自动填写！</source>
        <translation>PWND: kept by the program, filled in automatically!</translation>
    </message>
    <message>
        <source>PHDL 系统使用的数据，由计算机自动填写！</source>
        <translation>PHDL: kept by the program, filled in automatically!</translation>
    </message>
    <message>
        <source>由本系统启动的应用程序的工作状态</source>
        <translation>Whether the program started by Vardo is running</translation>
    </message>
    <message>
        <source>系统记录任务运行的时间</source>
        <translation>How long the task has run</translation>
    </message>
    <message>
        <source>任务运行时间长度超过此值：系统弹出提示窗口</source>
        <translation>When the task has run this long, a reminder pops up</translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
    <message>
        <source>最大</source>
        <translation>Max</translation>
    </message>
    <message>
        <source>无</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>在播</source>
        <translation>On</translation>
    </message>
    <message>
        <source>停播</source>
        <translation>Off</translation>
    </message>
</context>
<context>
    <name>vardo::Timetable</name>
    <message>
        <source>文件是空的</source>
        <translation>the file is empty</translation>
    </message>
    <message>
        <source>不是文本文件</source>
        <translation>not a text file</translation>
    </message>
    <message>
        <source>最后一行不完整</source>
        <translation>the last line is incomplete</translation>
    </message>
    <message>
        <source>第%1行不完整</source>
        <translation>line %1 is incomplete</translation>
    </message>
</context>
<context>
    <name>vardo::Weekday</name>
    <message>
        <source>星期日</source>
        <translation>Sun</translation>
    </message>
    <message>
        <source>星期一</source>
        <translation>Mon</translation>
    </message>
    <message>
        <source>星期二</source>
        <translation>Tue</translation>
    </message>
    <message>
        <source>星期三</source>
        <translation>Wed</translation>
    </message>
    <message>
        <source>星期四</source>
        <translation>Thu</translation>
    </message>
    <message>
        <source>星期五</source>
        <translation>Fri</translation>
    </message>
    <message>
        <source>星期六</source>
        <translation>Sat</translation>
    </message>
</context>
</TS>
