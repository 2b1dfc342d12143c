#include "runtime/layout.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "runtime/error.h"

namespace lumivar::runtime {
namespace detail {

std::map<std::string, std::string>& builtin_layouts() {
  static std::map<std::string, std::string> layouts;
  return layouts;
}

Value to_value(const nlohmann::json& j, const std::string& source, const std::string& key) {
  if (j.is_null()) return Value();
  if (j.is_boolean()) return Value::logical(j.get<bool>());
  if (j.is_number()) return Value(j.get<double>());
  if (j.is_string()) return Value(j.get<std::string>());
  if (j.is_array()) {
    if (j.empty()) return Value();
    if (j.front().is_number()) {
      std::vector<double> v;
      for (const auto& e : j) {
        if (!e.is_number()) raise("Layout " + source + ": \"" + key + "\" mixes numbers and other values.");
        v.push_back(e.get<double>());
      }
      return Value(Matrix::row(std::move(v)));
    }
    std::vector<Value> items;
    for (const auto& e : j) items.push_back(to_value(e, source, key));
    return Value(List(std::move(items)));
  }
  raise("Layout " + source + ": \"" + key + "\" holds a value of a kind that no property takes.");
}

void apply(WindowRuntime& ui, Handle h, const nlohmann::json& props, const std::string& source) {
  if (!props.is_object()) raise("Layout " + source + ": every object must be a JSON object.");
  for (const auto& [key, value] : props.items()) {
    if (key == "Type" || key == "Controls") continue;
    ui.set(h, key, to_value(value, source, key));
  }
}

}  // namespace detail

Handle build_layout(WindowRuntime& ui, const std::string& json_text, const std::string& source) {
  nlohmann::json doc;
  try {
    doc = nlohmann::json::parse(json_text);
  } catch (const nlohmann::json::exception& e) {
    raise("The layout file " + source + " is not valid JSON: " + e.what());
  }
  if (!doc.is_object() || !doc.contains("Figure"))
    raise("The layout file " + source + " has no \"Figure\" entry.");
  const Handle fig = ui.create("figure", kRoot);
  try {
    detail::apply(ui, fig, doc["Figure"], source);
    if (doc.contains("Controls")) {
      for (const auto& c : doc["Controls"]) {
        const std::string type = c.contains("Type") ? c["Type"].get<std::string>() : "uicontrol";
        const Handle h = ui.create(type, fig);
        detail::apply(ui, h, c, source);
      }
    }
  } catch (...) {
    ui.destroy(fig);  // no half-built window stays behind
    throw;
  }
  return fig;
}

void WindowRuntime::register_builtin_layout(const std::string& name, std::string json_text) {
  detail::builtin_layouts()[name] = std::move(json_text);
}

Handle WindowRuntime::load_layout(const std::string& filename) {
  namespace fs = std::filesystem;
  const fs::path path(filename);
  auto read_file = [](const fs::path& p, std::string& text) {
    std::ifstream in(p, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    text = s.str();
    return true;
  };
  std::string text;
  if (path.has_parent_path()) {
    if (!read_file(path, text)) raise("Cannot open the layout file " + filename + ".");
    return build_layout(*this, text, filename);
  }
  if (!program_folder_.empty()) {
    const fs::path beside = fs::path(program_folder_) / path;
    if (fs::is_regular_file(beside) && read_file(beside, text))
      return build_layout(*this, text, beside.string());
  }
  auto it = detail::builtin_layouts().find(filename);
  if (it == detail::builtin_layouts().end())
    raise("Cannot find the layout file " + filename + " beside the program.");
  return build_layout(*this, it->second, filename + " (built in)");
}

}  // namespace lumivar::runtime
