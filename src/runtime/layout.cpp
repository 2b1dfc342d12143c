#include "runtime/layout.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string_view>

#include "runtime/error.h"

namespace lumivar::runtime {
namespace {

std::map<std::string, std::string>& builtin_layouts() {
  static std::map<std::string, std::string> layouts;
  return layouts;
}

// How deep a layout may nest its values. The window's own layout needs four
// levels (the file, "Controls", a control, a callback's words); the limit
// keeps a hostile file from exhausting the stack of the recursive reading.
constexpr int kMaxDepth = 16;

// The deepest nesting of arrays and objects in JSON text, counted without
// parsing (text inside strings does not count), so that a file of a million
// '[' is refused before anything is built.
int nesting_depth(std::string_view text) {
  int depth = 0, deepest = 0;
  bool in_string = false, escaped = false;
  for (char c : text) {
    if (in_string) {
      if (escaped) escaped = false;
      else if (c == '\\') escaped = true;
      else if (c == '"') in_string = false;
    } else if (c == '"') {
      in_string = true;
    } else if (c == '[' || c == '{') {
      deepest = std::max(deepest, ++depth);
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return deepest;
}

// The start of every message about one key: the file, the object and the key.
std::string at(const std::string& source, const std::string& where, const std::string& key) {
  return "The layout file " + source + ", " + where + ", \"" + key + "\": ";
}

Value to_value(const nlohmann::json& j, const std::string& context) {
  if (j.is_null()) return Value();
  if (j.is_boolean()) return Value::logical(j.get<bool>());
  if (j.is_number()) return Value(j.get<double>());
  if (j.is_string()) return Value(j.get<std::string>());
  if (j.is_array()) {
    if (j.empty()) return Value();
    if (j.front().is_number()) {
      std::vector<double> v;
      for (const auto& e : j) {
        if (!e.is_number()) raise(context + "a list of numbers holds a value that is not a number.");
        v.push_back(e.get<double>());
      }
      return Value(Matrix::row(std::move(v)));
    }
    std::vector<Value> items;
    for (const auto& e : j) items.push_back(to_value(e, context));
    return Value(List(std::move(items)));
  }
  raise(context + "an object, which no property takes (a number, text, true/false or a list).");
}

void apply(WindowRuntime& ui, Handle h, const nlohmann::json& props, const std::string& source,
           const std::string& where) {
  for (const auto& [key, value] : props.items()) {
    if (key == "Type" || key == "Controls") continue;
    const std::string context = at(source, where, key);
    Value v = to_value(value, context);
    try {
      ui.set(h, key, std::move(v));
    } catch (const Error& e) {
      raise(context + e.what());
    }
  }
}

// The bytes of the file at `path`; nothing when it cannot be opened.
std::optional<std::string> file_text(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The control's object type: "uicontrol" unless it says otherwise in text.
std::string control_type(const nlohmann::json& c, const std::string& source, const std::string& where) {
  if (!c.contains("Type")) return "uicontrol";
  if (!c["Type"].is_string()) raise(at(source, where, "Type") + "must be a text.");
  return c["Type"].get<std::string>();
}

}  // namespace

Handle build_layout(WindowRuntime& ui, const std::string& json_text, const std::string& source) {
  const int depth = nesting_depth(json_text);
  if (depth > kMaxDepth)
    raise("The layout file " + source + " nests its values " + std::to_string(depth) +
          " levels deep; a layout needs at most " + std::to_string(kMaxDepth) + ".");
  nlohmann::json doc;
  try {
    doc = nlohmann::json::parse(json_text);
  } catch (const nlohmann::json::exception& e) {
    raise("The layout file " + source + " is not valid JSON: " + e.what());
  }
  if (!doc.is_object() || !doc.contains("Figure"))
    raise("The layout file " + source + " has no \"Figure\" entry.");
  const nlohmann::json& figure = doc["Figure"];
  if (!figure.is_object())
    raise(at(source, "the top level", "Figure") + "must be an object of window properties.");
  const nlohmann::json* controls = doc.contains("Controls") ? &doc["Controls"] : nullptr;
  if (controls != nullptr && !controls->is_array())
    raise(at(source, "the top level", "Controls") + "must be a list of controls.");
  const Handle fig = ui.create("figure", kRoot);
  try {
    apply(ui, fig, figure, source, "\"Figure\"");
    for (std::size_t i = 0; controls != nullptr && i < controls->size(); ++i) {
      const nlohmann::json& c = (*controls)[i];
      const std::string where = "control " + std::to_string(i + 1) + " of \"Controls\"";
      if (!c.is_object())
        raise("The layout file " + source + ", " + where + ": must be an object of properties.");
      const Handle h = ui.create(control_type(c, source, where), fig);
      apply(ui, h, c, source, where);
    }
  } catch (...) {
    ui.destroy(fig);  // no half-built window stays behind
    throw;
  }
  return fig;
}

void WindowRuntime::register_builtin_layout(const std::string& name, std::string json_text) {
  builtin_layouts()[name] = std::move(json_text);
}

Handle WindowRuntime::load_layout(const std::string& filename) {
  namespace fs = std::filesystem;
  const fs::path path(filename);
  if (path.has_parent_path()) {
    const std::optional<std::string> text = file_text(path);
    if (!text) raise("Cannot open the layout file " + filename + ".");
    return build_layout(*this, *text, filename);
  }
  if (!program_folder_.empty()) {
    const fs::path beside = fs::path(program_folder_) / path;
    if (fs::is_regular_file(beside))
      if (const std::optional<std::string> text = file_text(beside))
        return build_layout(*this, *text, beside.string());
  }
  auto it = builtin_layouts().find(filename);
  if (it == builtin_layouts().end())
    raise("Cannot find the layout file " + filename + " beside the program.");
  return build_layout(*this, it->second, filename + " (built in)");
}

}  // namespace lumivar::runtime
