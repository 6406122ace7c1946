#include "programs/vesta/progress.h"

#include <cstdio>
#include <ostream>

namespace vesta::tool {

std::string Bytes(int64_t bytes) {
  if (bytes < 1024) return std::to_string(bytes) + " B";
  const char* units[] = {"KB", "MB", "GB", "TB"};
  double value = static_cast<double>(bytes) / 1024.0;
  int unit = 0;
  while (value >= 1024.0 && unit < 3) {
    value /= 1024.0;
    ++unit;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.1f %s", value, units[unit]);
  return text;
}

namespace {

std::string Clock(double seconds) {
  long whole = static_cast<long>(seconds + 0.5);
  char text[32];
  if (whole >= 3600) {
    std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", whole / 3600, whole / 60 % 60, whole % 60);
  } else {
    std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
  }
  return text;
}

}  // namespace

Progress::Progress(std::ostream& stream, bool terminal, int width, int files, int64_t bytes)
    : stream_(stream),
      terminal_(terminal),
      width_(width),
      totalFiles_(files),
      totalBytes_(bytes),
      start_(std::chrono::steady_clock::now()) {}

double Progress::Seconds() const {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

std::string Progress::Line(int files, int64_t bytes, double seconds, int width) const {
  double share = totalBytes_ > 0 ? static_cast<double>(bytes) / static_cast<double>(totalBytes_)
                 : totalFiles_ > 0 ? static_cast<double>(files) / totalFiles_
                                   : 1.0;
  if (share > 1.0) share = 1.0;
  int percent = static_cast<int>(share * 100.0);
  std::string counts = std::to_string(files) + "/" + std::to_string(totalFiles_) + " files";
  std::string sizes = Bytes(bytes) + " of " + Bytes(totalBytes_);
  std::string rate;
  std::string left;
  if (seconds > 0.05 && bytes > 0) {
    double perSecond = static_cast<double>(bytes) / seconds;
    rate = Bytes(static_cast<int64_t>(perSecond)) + "/s";
    left = Clock(static_cast<double>(totalBytes_ - bytes) / perSecond) + " left";
  }
  std::string tail = counts + "  " + sizes + (rate.empty() ? "" : "  " + rate) + (left.empty() ? "" : "  " + left);
  std::string text = std::to_string(percent) + "%  " + tail;
  if (width <= 0) return text;
  // A bar when there is room for one of at least ten cells; else the
  // longest plain text that fits.
  int room = width - 1 - static_cast<int>(text.size()) - 3;
  if (room >= 10) {
    int cells = room > 40 ? 40 : room;
    int full = static_cast<int>(share * cells);
    return "[" + std::string(static_cast<size_t>(full), '#') + std::string(static_cast<size_t>(cells - full), '.') +
           "] " + text;
  }
  for (const std::string& shorter : {text, std::to_string(percent) + "%  " + counts, std::to_string(percent) + "%"}) {
    if (static_cast<int>(shorter.size()) < width) return shorter;
  }
  return std::string();
}

void Progress::Update(int files, int64_t bytes) {
  files_ = files;
  bytes_ = bytes;
  if (terminal_) {
    // Padded to the width, so that a shorter line covers a longer one.
    int width = width_ > 0 ? width_ : 80;
    std::string line = Line(files, bytes, Seconds(), width);
    if (static_cast<int>(line.size()) < width - 1) line.resize(static_cast<size_t>(width - 1), ' ');
    stream_ << "\r" << line << std::flush;
    drawn_ = true;
    return;
  }
  double share = totalBytes_ > 0 ? static_cast<double>(bytes) / static_cast<double>(totalBytes_)
                 : totalFiles_ > 0 ? static_cast<double>(files) / totalFiles_
                                   : 1.0;
  int tenth = static_cast<int>(share * 10.0);
  if (tenth <= lastTenth_) return;
  lastTenth_ = tenth;
  stream_ << "packing: " << Line(files, bytes, Seconds(), 0) << "\n" << std::flush;
}

void Progress::Done() {
  Update(totalFiles_, totalBytes_);
  if (terminal_ && drawn_) stream_ << "\n" << std::flush;
}

}  // namespace vesta::tool
