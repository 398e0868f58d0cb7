// Runtime errors: the one way the program ends on a failure that cannot be
// handed back as a result.  The report shows the error box, skips the
// clean-up routines and ends the process with exit code -1.
#pragma once

#include "runtime/unit_framework.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace runtime {

// Texts of the errors the runtime and the libraries raise.
namespace error_text {
inline constexpr const char* kStartupWindow = "载入启动窗口失败";
inline constexpr const char* kMemoryFormat = "分配 %d 字节内存失败!";
inline constexpr const char* kUnitNotLoaded = "指定窗口或窗口组件不存在或尚未载入";
inline constexpr const char* kPropertyWindowNotLoaded = "未载入欲访问窗口组件所在的窗口";
inline constexpr const char* kReadWindowNotLoaded = "读取组件属性时发现指定窗口尚未载入";
inline constexpr const char* kWriteWindowNotLoaded = "修改组件属性时发现指定窗口尚未载入";
inline constexpr const char* kEventWindowMissing = "未找到引发事件的窗口";
inline constexpr const char* kEventUnitMissing = "未找到引发事件的窗口组件";
inline constexpr const char* kEventUnitInvalid = "引发事件的窗口组件无效";
inline constexpr const char* kNotNumeric = "欲转换数据类型不是数值";
inline constexpr const char* kDllCommandFormat = "无法找到指定DLL库文件“%s”中的输出命令“%s”";
inline constexpr const char* kDllCommandNoLibraryFormat = "无法找到指定DLL库文件中的输出命令“%s”";
inline constexpr const char* kExternalPackage = "独立编译的程序不能调用位于外部包中的子程序";
} // namespace error_text

// The message of numbered error n (1-11); empty for other numbers.
std::string_view NumberedErrorMessage(int code);

// The detail part of the report: the ids line, and the window and unit
// lines when the first id is a window id.
std::string BuildErrorDetail(const WindowTable& windows, std::uint32_t firstId, std::uint32_t secondId);
// The text of the error box.
std::string BuildErrorBoxText(std::string_view message, std::int32_t code, std::string_view detail);
// "分配 n 字节内存失败!", formatted as the report does it.
std::string MemoryFailureMessage(std::size_t bytes);

// The report itself; does not return.
[[noreturn]] void ReportRuntimeError(std::string_view message, std::int32_t code, std::uint32_t firstId,
                                     std::uint32_t secondId);
// A numbered error raised by a handler.
[[noreturn]] void RaiseRuntimeError(std::int32_t code, std::uint32_t routineId, std::uint32_t position);
// The error service of the libraries: a message, no code, no ids.
[[noreturn]] void ReportLibraryError(std::string_view message);
[[noreturn]] void ReportMemoryFailure(std::size_t bytes);

} // namespace runtime
