#include "RecoveryCopy.h"

#include <filesystem>

#include "TimeText.h"
#include "TimetableFile.h"
#include "Utf8Path.h"

namespace vardo {

namespace {

std::string RecoveryName(const std::string& tablePath, LocalTime now) {
    std::string name = PathUtf8(Utf8Path(tablePath).filename());
    if (name.ends_with(".tab")) name.resize(name.size() - 4);
    std::string time = SecondsToTimeText(TimeOfDaySeconds(now));
    std::erase(time, ':');
    const std::chrono::year_month_day date(std::chrono::floor<std::chrono::days>(now));
    return name + "-未保存-" + DateText(false, date) + "-" + time + ".tab";
}

}  // namespace

RecoveryCopy SaveRecoveryCopy(const TaskTable& table, const std::string& tablePath,
                              const std::vector<std::string>& folders, LocalTime now) {
    const std::string name = RecoveryName(tablePath, now);
    RecoveryCopy copy;
    for (const std::string& folder : folders) {
        // The reason a folder cannot be made (a read-only or full disk) is the one to report, not
        // the missing folder that the write would then find.
        std::error_code made;
        std::filesystem::create_directories(Utf8Path(folder), made);
        if (made) {
            copy.error = folder + ": " + made.message();
            continue;
        }
        const WriteResult written = SaveTable(table, folder + name);
        if (written) return {folder + name, {}};
        copy.error = written.error;
    }
    return copy;
}

}  // namespace vardo
