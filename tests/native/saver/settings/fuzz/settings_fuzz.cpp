// libFuzzer target for the settings loader: any bytes as the settings file.
// A profile reader in the manner of the platform's answers the loader's
// questions from those bytes. Whatever the file holds, the record that comes
// out must be one the run and the dialog can rely on: a kind that needs a
// file has one, paths fit the reply buffer and hold no NUL, and each folder
// is the folder of its file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "saver/settings/settings_store.h"

namespace {

using namespace ventalune::settings;

constexpr char kProgramFolder[] = "C:\\Program Files\\Ventalune";
constexpr wchar_t kProgramFolderWide[] = L"C:\\Program Files\\Ventalune";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }
std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// Sections in brackets, "key=value" lines, names compared without regard to
// ASCII case, the first match winning, a value in matching quotes unquoted.
class TextProfile final : public ProfilePort {
 public:
  TextProfile(std::string_view text, bool overrun) : text_(text), overrun_(overrun) {}

  std::string ReadString(const std::string& section, const std::string& key, const std::wstring& path,
                         std::size_t capacity) override {
    std::string value = path == IniPath(kProgramFolderWide) ? Find(section, key) : std::string();
    // A careless platform may hand back more than the buffer holds.
    if (!overrun_) {
      value.resize(std::min(value.size(), capacity - 1));
      value.resize(capacity, '\0');
    }
    return value;
  }
  bool WriteString(const std::string&, const std::string&, const std::string&, const std::wstring&) override {
    std::abort();  // loading never writes
  }
  bool CanRead(const std::wstring&) override { return true; }

 private:
  std::string Find(std::string_view section, std::string_view key) const {
    bool inSection = false;
    size_t at = 0;
    while (at <= text_.size()) {
      size_t end = text_.find('\n', at);
      if (end == std::string_view::npos) end = text_.size();
      const std::string_view line = Trim(text_.substr(at, end - at));
      at = end + 1;
      if (!line.empty() && line.front() == '[') {
        const size_t close = line.find(']');
        inSection = SameName(Trim(line.substr(1, close == std::string_view::npos ? line.npos : close - 1)), section);
        continue;
      }
      const size_t equals = line.find('=');
      if (!inSection || equals == std::string_view::npos || !SameName(Trim(line.substr(0, equals)), key)) continue;
      std::string_view value = Trim(line.substr(equals + 1));
      if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
      return std::string(value);
    }
    return {};
  }

  std::string_view text_;
  bool overrun_;
};

// Any non-empty path without NUL may be asked; whether it opens depends on
// the input, so both outcomes are explored.
class SomeFiles final : public FilePort {
 public:
  explicit SomeFiles(uint8_t pattern) : pattern_(pattern) {}
  bool CanOpenForReading(const std::string& path) override {
    if (path.empty() || path.find('\0') != std::string::npos) std::abort();
    return ((pattern_ >> (path.size() % 8)) & 1) != 0;
  }
  bool CanOpenForReading(const std::wstring&) override { std::abort(); }  // only the locating code asks

 private:
  uint8_t pattern_;
};

// Paths are read under a single-byte code page or under Shift-JIS, whose
// trail bytes can look like separators.
bool ShiftJisLeadByte(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9f) || (byte >= 0xe0 && byte <= 0xfc); }

void CheckPath(const std::string& file, const std::string& folder, int16_t kind, int16_t kindNeedingFile,
               LeadByteRule isLead) {
  if (file.size() >= kIniValueCapacity || file.find('\0') != std::string::npos) std::abort();
  if (kind == kindNeedingFile && file.empty()) std::abort();
  if (folder != (file.empty() ? std::string(kProgramFolder) : FolderOf(file, isLead))) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Three bytes choose the platform's manners, the code page, what happens to paths of
  // missing files and the record's earlier values; the rest is the file.
  if (size < 3) return 0;
  TextProfile profile(std::string_view(reinterpret_cast<const char*>(data) + 3, size - 3), (data[0] & 1) != 0);
  SomeFiles files(data[1]);
  const LeadByteRule isLead = (data[0] & 2) != 0 ? ShiftJisLeadByte : NoLeadBytes;
  Settings settings;
  settings.PictureKind = static_cast<int16_t>(data[2] & 3);
  settings.BgmKind = static_cast<MusicKind>((data[2] >> 2) & 3);
  settings.BgmRepeatTrack = static_cast<int16_t>(data[2] >> 4);
  settings.PictureFile = "left over";
  settings.BgmFile = "left over";
  const MissingFiles missing = (data[0] & 4) != 0 ? MissingFiles::Keep : MissingFiles::Drop;
  LoadSettings(settings, profile, files, kProgramFolder, IniPath(kProgramFolderWide), isLead, missing);

  CheckPath(settings.PictureFile, settings.PictureFolder, settings.PictureKind, kPictureFile, isLead);
  CheckPath(settings.BgmFile, settings.BgmFolder, static_cast<int16_t>(settings.BgmKind),
            static_cast<int16_t>(MusicKind::kSoundFile), isLead);
  // Loading twice from the same file gives the same record.
  Settings again = settings;
  LoadSettings(again, profile, files, kProgramFolder, IniPath(kProgramFolderWide), isLead, missing);
  if (again.PictureKind != settings.PictureKind || again.PictureFile != settings.PictureFile ||
      again.BgmKind != settings.BgmKind || again.BgmRepeatTrack != settings.BgmRepeatTrack ||
      again.BgmFile != settings.BgmFile)
    std::abort();
  return 0;
}
