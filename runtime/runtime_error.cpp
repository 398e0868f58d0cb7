#include "runtime/runtime_error.h"

#include "platform/message_box.h"
#include "platform/messages.h"
#include "runtime/runtime.h"

#include <array>
#include <cstdio>

namespace runtime {
namespace {

constexpr std::array<const char*, 11> kNumberedErrors = {
    "数组成员引用下标超出定义范围",
    "未得到所需要的数值型数据",
    "引用数组成员时维数不为1且不等于该数组目前所具有的维数",
    "数组成员引用下标必须大于等于1",
    "数据或数组类型不匹配",
    "调用DLL命令后发现堆栈错误",
    "子语句参数未返回数据或者返回了非系统基本类型或数组型数据",
    "被比较数据只能使用等于或不等于命令比较",
    "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围",
    "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零",
    "所提供参数的数据类型不符合要求",
};

constexpr std::uint32_t categoryOf(std::uint32_t id) { return (id >> 24) & 0xF; }
constexpr bool isWindowId(std::uint32_t id) { return categoryOf(id) == 2; }

} // namespace

std::string_view NumberedErrorMessage(int code)
{
    if (code < 1 || code > int(kNumberedErrors.size()))
        return {};
    return kNumberedErrors[size_t(code - 1)];
}

std::string BuildErrorDetail(const WindowTable& windows, std::uint32_t firstId, std::uint32_t secondId)
{
    char ids[64];
    std::snprintf(ids, sizeof ids, "\r\n%d, %d", std::int32_t(firstId), std::int32_t(secondId));
    std::string detail = ids;
    if (firstId != 0 && isWindowId(firstId)) {
        auto it = windows.find(firstId);
        if (it == windows.end()) {
            detail += "\r\n未找到所指定的窗口";
        } else {
            const WindowEntry& window = *it->second;
            detail += "\r\n\"";
            detail += window.name();
            detail += '"';
            auto unit = window.findUnit(secondId);
            if (unit && !unit->isMenuItem) {
                detail += "\r\n\"";
                detail += unit->name;
                detail += '"';
            } else {
                detail += "\r\n未找到所指定的窗口组件";
            }
        }
    }
    detail += "\r\n";
    return detail;
}

std::string BuildErrorBoxText(std::string_view message, std::int32_t code, std::string_view detail)
{
    std::string text = "运行时出错!\r\n";
    if (code != 0) {
        text += "\r\n错误代码：";
        text += std::to_string(code);
        text += "\r\n";
    }
    if (!message.empty()) {
        text += "\r\n错误信息：";
        text += message;
        text += "\r\n";
    }
    text += detail;
    return text;
}

std::string MemoryFailureMessage(std::size_t bytes)
{
    // Formatted into a fixed 100-byte buffer: the count always fits.
    char buffer[100];
    std::snprintf(buffer, sizeof buffer, "分配 %zu 字节内存失败!", bytes);
    return buffer;
}

void ReportRuntimeError(std::string_view message, std::int32_t code, std::uint32_t firstId, std::uint32_t secondId)
{
    Runtime& rt = TheRuntime();
    rt.addEventSuppression();
    std::string detail = BuildErrorDetail(rt.windows(), firstId, secondId);

    bool showBox = true;
    if (ErrorHook hook = rt.errorHook(); hook && !rt.hookRunning()) {
        rt.hookRunning() = true;
        std::string full = std::string(message) + detail;
        std::int32_t answer = hook(code, full.c_str());
        rt.hookRunning() = false;
        showBox = answer == 0;
    }
    if (showBox)
        platform::MessageBox(platform::Hwnd::Null, BuildErrorBoxText(message, code, detail), "错误",
                             platform::MB_OK | platform::MB_ICONHAND);
    rt.dropCleanupRoutines();
    rt.endProgram(-1);
}

void RaiseRuntimeError(std::int32_t code, std::uint32_t routineId, std::uint32_t position)
{
    ReportRuntimeError(NumberedErrorMessage(code), code, routineId, position);
}

void ReportLibraryError(std::string_view message)
{
    ReportRuntimeError(message, 0, 0, 0);
}

void ReportMemoryFailure(std::size_t bytes)
{
    ReportRuntimeError(MemoryFailureMessage(bytes), 0, 0, 0);
}

} // namespace runtime
