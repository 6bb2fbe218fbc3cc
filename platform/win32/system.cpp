#include "platform/win32/system.h"

#include <windows.h>

#include <vector>

#include "platform/win32/text.h"

namespace win32 {

namespace {

// A value reaches the program through a buffer of this many characters, its zero included.
constexpr DWORD kProfileBuffer = 2048;

class File : public os::OutputFile {
 public:
  File(HANDLE handle, bool owned) : handle_(handle), owned_(owned) {}
  ~File() override { close(); }

  os::FileType type() const override {
    switch (GetFileType(handle_)) {
      case FILE_TYPE_CHAR:
        return os::FileType::Char;
      case FILE_TYPE_PIPE:
        return os::FileType::Pipe;
      case FILE_TYPE_UNKNOWN:
        return os::FileType::Unknown;
      default:
        return os::FileType::Disk;
    }
  }

  // One WriteFile; the count the system reports written is not compared with the count given.
  int write(std::string_view bytes) override {
    DWORD written = 0;
    if (WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
      return 0;
    return static_cast<int>(GetLastError());
  }

  int close() override {
    if (!open_) return 0;
    open_ = false;
    if (!owned_) return 0;
    return CloseHandle(handle_) ? 0 : static_cast<int>(GetLastError());
  }

 private:
  HANDLE handle_;
  bool owned_;
  bool open_ = true;
};

}  // namespace

std::unique_ptr<os::OutputFile> outputFile(void* handle, bool owned) {
  return std::make_unique<File>(static_cast<HANDLE>(handle), owned);
}

std::string folderOf(const std::string& path) {
  const auto cut = path.find_last_of("\\:");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

System::System(Api api) : api_(api), codePage_(GetACP()) {}

std::string System::executablePath() {
  for (DWORD size = MAX_PATH;; size *= 2) {
    if (api_ == Api::Wide) {
      std::wstring path(size, L'\0');
      DWORD n = GetModuleFileNameW(nullptr, path.data(), size);
      if (n < size) return narrow(std::wstring_view(path.data(), n));
    } else {
      std::string path(size, '\0');
      DWORD n = GetModuleFileNameA(nullptr, path.data(), size);
      if (n < size) return fromCodePage(std::string_view(path.data(), n));
    }
  }
}

std::string System::executableFolder() {
  return folderOf(executablePath());
}

std::optional<os::FileVersion> System::fileVersion() {
  const std::string path = executablePath();
  std::vector<char> data;
  void* record = nullptr;
  UINT length = 0;
  DWORD handle = 0;
  if (api_ == Api::Wide) {
    const std::wstring name = widen(path);
    DWORD size = GetFileVersionInfoSizeW(name.c_str(), &handle);
    if (size == 0) return std::nullopt;
    data.resize(size);
    if (!GetFileVersionInfoW(name.c_str(), 0, size, data.data()) ||
        !VerQueryValueW(data.data(), L"\\", &record, &length))
      return std::nullopt;
  } else {
    const std::string name = toCodePage(path);
    DWORD size = GetFileVersionInfoSizeA(name.c_str(), &handle);
    if (size == 0) return std::nullopt;
    data.resize(size);
    if (!GetFileVersionInfoA(name.c_str(), 0, size, data.data()) ||
        !VerQueryValueA(data.data(), "\\", &record, &length))
      return std::nullopt;
  }
  if (record == nullptr || length < sizeof(VS_FIXEDFILEINFO)) return std::nullopt;
  const auto* info = static_cast<const VS_FIXEDFILEINFO*>(record);
  return os::FileVersion{info->dwFileVersionMS, info->dwFileVersionLS};
}

std::string System::readProfileString(const std::string& path, std::string_view section,
                                      std::string_view key) {
  if (api_ == Api::Wide) {
    std::wstring value(kProfileBuffer, L'\0');
    DWORD n = GetPrivateProfileStringW(widen(section).c_str(), widen(key).c_str(), L"",
                                       value.data(), kProfileBuffer, widen(path).c_str());
    return narrow(std::wstring_view(value.data(), n));
  }
  std::string value(kProfileBuffer, '\0');
  DWORD n = GetPrivateProfileStringA(toCodePage(section).c_str(), toCodePage(key).c_str(), "",
                                     value.data(), kProfileBuffer, toCodePage(path).c_str());
  return fromCodePage(std::string_view(value.data(), n));
}

bool System::writeProfileString(const std::string& path, std::string_view section,
                                std::string_view key, std::string_view value) {
  if (api_ == Api::Wide)
    return WritePrivateProfileStringW(widen(section).c_str(), widen(key).c_str(),
                                      widen(value).c_str(), widen(path).c_str()) != 0;
  return WritePrivateProfileStringA(toCodePage(section).c_str(), toCodePage(key).c_str(),
                                    toCodePage(value).c_str(), toCodePage(path).c_str()) != 0;
}

std::string System::toCodePage(std::string_view utf8) { return narrow(widen(utf8), codePage_); }

std::string System::fromCodePage(std::string_view bytes) { return narrow(widen(bytes, codePage_)); }

os::Opened System::createOutput(const std::string& name) {
  HANDLE handle = CreateFileW(widen(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return {nullptr, static_cast<int>(GetLastError())};
  return {outputFile(handle, true), 0};
}

// A window program started without a standard output gets a null handle here; the channel
// learns that from the file type.
os::Opened System::standardOutput() {
  HANDLE handle = GetStdHandle(STD_OUTPUT_HANDLE);
  if (handle == INVALID_HANDLE_VALUE) return {nullptr, static_cast<int>(GetLastError())};
  return {outputFile(handle, false), 0};
}

}  // namespace win32
