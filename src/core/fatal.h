#pragma once
// The one fatal error report: builds the message text, hands it to the
// installed reporter (the application shows the error box "错误"; the default
// writes to standard error) and ends the process with exit code -1.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

using FatalReporter = void (*)(const std::string& gbkText);

// Installs the reporter; nullptr restores the default (standard error).
void SetFatalErrorReporter(FatalReporter reporter);

// The GBK text FatalError shows for message and code.
std::string FatalErrorText(std::string_view gbkMessage, int code);

[[noreturn]] void FatalError(std::string_view gbkMessage, int code = 0);

// 1-based element access of the program's lists; an index below 1 or above
// the count ends the program through FatalError.
void CheckIndex(std::size_t count, long long index);

template <typename T>
T& At(std::vector<T>& list, long long index) {
  CheckIndex(list.size(), index);
  return list[static_cast<std::size_t>(index - 1)];
}
template <typename T>
const T& At(const std::vector<T>& list, long long index) {
  CheckIndex(list.size(), index);
  return list[static_cast<std::size_t>(index - 1)];
}
