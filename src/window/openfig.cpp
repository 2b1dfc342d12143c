#include "window/openfig.h"

#include "runtime/error.h"
#include "window/movegui.h"

namespace lumivar::window {
namespace {

using runtime::Matrix;
using runtime::Value;

constexpr std::size_t kTokenLength = 31;

bool is_separator(char c) {
#ifdef _WIN32
  return c == '/' || c == '\\';
#else
  return c == '/';
#endif
}

struct FileParts {
  std::string path, name, ext;
};

// Folder, name part and extension. The extension starts at the last "." of the
// final component; the folder is all before that component (a lone root
// separator is kept, so "/x" stays in the root).
FileParts split_file_name(const std::string& filename) {
  FileParts parts;
  std::size_t start = 0;
  for (std::size_t i = filename.size(); i > 0; --i) {
    if (is_separator(filename[i - 1])) {
      start = i;
      parts.path = filename.substr(0, i == 1 ? 1 : i - 1);
      break;
    }
  }
  const std::string last = filename.substr(start);
  const std::size_t dot = last.rfind('.');
  parts.name = last.substr(0, dot);
  if (dot != std::string::npos) parts.ext = last.substr(dot);
  return parts;
}

std::string join_file_name(const std::string& path, const std::string& file) {
  if (path.empty()) return file;
  if (is_separator(path.back())) return path + file;
  return path + "/" + file;
}

// The handles in the stored list whose windows are still open, order kept.
Matrix live_figures(const runtime::WindowRuntime& ui, const Value& stored) {
  Matrix figs;
  if (!stored.is_matrix()) return figs;
  for (double h : stored.matrix().values())
    if (ui.is_valid(h)) figs.set_grow(figs.numel() + 1, h);
  return figs;
}

}  // namespace

runtime::Handle openfig(runtime::WindowRuntime& ui, const std::string& filename,
                        const std::string& policy) {
  FileParts parts = split_file_name(filename);
  if (parts.ext.empty()) {
    parts.ext = ".fig";
  } else if (parts.ext != ".fig") {
    runtime::raise("Argument must be a .fig file");
  }
  const std::string file = join_file_name(parts.path, parts.name + parts.ext);
  const std::string token = (parts.name + "_SINGLETON_handle").substr(0, kTokenLength);

  runtime::Matrix figs = live_figures(ui, ui.appdata(runtime::kRoot, token));
  if (policy == "new") {
    figs.set_grow(figs.numel() + 1, ui.load_layout(file));
  } else if (policy == "reuse") {
    if (figs.empty()) figs = runtime::Matrix::row({ui.load_layout(file)});
  } else {
    runtime::raise("Second input argument must be 'new' or 'reuse'.");
  }
  const runtime::Handle fig = figs(figs.numel());  // the newest live window
  ui.set_appdata(runtime::kRoot, token, runtime::Value(figs));

  movegui(ui, {runtime::Value(fig), runtime::Value("onscreen")});
  // A layout that leaves its window invisible keeps it so, and in the back.
  if (ui.get(fig, "Visible") == runtime::Value("on")) ui.raise_figure(fig);
  return fig;
}

}  // namespace lumivar::window
