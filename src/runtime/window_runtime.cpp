#include "runtime/window_runtime.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "runtime/error.h"

namespace lumivar::runtime {

std::string to_lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

namespace {

std::string handle_text(Handle h) {
  if (h == std::floor(h)) return std::to_string(static_cast<long long>(h));
  return std::to_string(h);
}

Matrix grow(const Matrix& rect, const FrameInsets& f, double sign) {
  if (rect.numel() != 4) return rect;
  return Matrix::row({rect(1) - sign * f.left, rect(2) - sign * f.bottom,
                      rect(3) + sign * (f.left + f.right), rect(4) + sign * (f.bottom + f.top)});
}

}  // namespace

WindowRuntime::WindowRuntime() : default_console_(std::cout), console_(&default_console_) {
  Object root;
  root.type = "root";
  root.parent = -1;
  objects_.emplace(kRoot, std::move(root));
  set_raw(kRoot, "Units", Value("pixels"));
  set_raw(kRoot, "ScreenSize", Value(Matrix::row({1, 1, 1280, 1024})));
  set_raw(kRoot, "defaultUicontrolBackgroundColor", Value(Matrix::row({0.94, 0.94, 0.94})));
}

WindowRuntime::~WindowRuntime() = default;

const WindowRuntime::Object& WindowRuntime::object(Handle h) const {
  auto it = std::isnan(h) ? objects_.end() : objects_.find(h);
  if (it == objects_.end()) raise("Invalid or deleted object (handle " + handle_text(h) + ").");
  return it->second;
}

WindowRuntime::Object& WindowRuntime::object(Handle h) {
  auto it = std::isnan(h) ? objects_.end() : objects_.find(h);
  if (it == objects_.end()) raise("Invalid or deleted object (handle " + handle_text(h) + ").");
  return it->second;
}

Handle WindowRuntime::create(const std::string& type, Handle parent) {
  object(parent);  // must exist
  const Handle h = static_cast<Handle>(next_handle_++);
  Object o;
  o.type = type;
  o.parent = parent;
  objects_.emplace(h, std::move(o));
  object(parent).children.push_back(h);
  if (type == "figure") {
    figure_order_.push_back(h);
    current_figure_ = h;
    set_raw(h, "Units", Value("pixels"));
    set_raw(h, "Visible", Value("on"));
    set_raw(h, "ActivePositionProperty", Value("outerposition"));
  }
  on_created(h);
  return h;
}

void WindowRuntime::destroy(Handle h) {
  if (h == kRoot || !is_valid(h)) return;
  for (Handle c : std::vector<Handle>(object(h).children)) destroy(c);
  on_destroyed(h);
  Object& o = object(h);
  if (is_valid(o.parent)) {
    auto& siblings = object(o.parent).children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), h), siblings.end());
  }
  objects_.erase(h);
  figure_order_.erase(std::remove(figure_order_.begin(), figure_order_.end(), h), figure_order_.end());
  if (current_figure_ == h) current_figure_ = figure_order_.empty() ? -1 : figure_order_.back();
  if (callback_object_ == h) callback_object_ = -1;
}

// NaN is never a handle: ordered look-ups would otherwise match it to the root.
bool WindowRuntime::is_valid(Handle h) const { return !std::isnan(h) && objects_.count(h) != 0; }

Value WindowRuntime::get(Handle h, std::string_view name) const {
  const Object& o = object(h);
  const std::string key = to_lower(name);
  if (key == "type") return Value(o.type);
  if (key == "parent") return o.parent < 0 ? Value() : Value(o.parent);
  if (key == "children") {
    Matrix c(o.children.size(), o.children.empty() ? 0 : 1);
    for (std::size_t i = 0; i < o.children.size(); ++i) c(i + 1) = o.children[i];
    return Value(c);
  }
  auto it = o.props.find(key);
  return it == o.props.end() ? Value() : it->second.value;
}

void WindowRuntime::set_raw(Handle h, std::string_view name, Value v) {
  Object& o = object(h);
  const std::string key = to_lower(name);
  auto it = o.props.find(key);
  if (it == o.props.end()) {
    o.props.emplace(key, Property{std::string(name), std::move(v)});
  } else {
    it->second.value = std::move(v);
  }
}

void WindowRuntime::set(Handle h, std::string_view name, Value v) {
  const std::string key = to_lower(name);
  if (key == "type" || key == "parent" || key == "children")
    raise("The property \"" + std::string(name) + "\" cannot be set.");
  const bool figure = object(h).type == "figure";
  // A window's inner and outer rectangles move together.
  if (figure && key == "outerposition" && v.is_matrix()) {
    set_raw(h, "Position", Value(grow(v.matrix(), frame_insets(h), -1.0)));
  } else if (figure && key == "position" && v.is_matrix()) {
    set_raw(h, "OuterPosition", Value(grow(v.matrix(), frame_insets(h), 1.0)));
  }
  set_raw(h, name, std::move(v));
  on_property_set(h, key);
}

void WindowRuntime::store_user_edit(Handle h, std::string_view name, Value v) {
  set_raw(h, name, std::move(v));
}

Value WindowRuntime::appdata(Handle h, const std::string& name) const {
  const Object& o = object(h);
  auto it = o.appdata.find(name);
  return it == o.appdata.end() ? Value() : it->second;
}

void WindowRuntime::set_appdata(Handle h, const std::string& name, Value v) {
  object(h).appdata[name] = std::move(v);
}

std::string WindowRuntime::type_of(Handle h) const { return object(h).type; }

std::optional<Handle> WindowRuntime::parent_of(Handle h) const {
  const Object& o = object(h);
  if (o.parent < 0) return std::nullopt;
  return o.parent;
}

std::optional<Handle> WindowRuntime::figure_of(Handle h) const {
  if (!is_valid(h)) return std::nullopt;
  std::optional<Handle> at = h;
  while (at && type_of(*at) != "figure") at = parent_of(*at);
  return at;
}

std::vector<Handle> WindowRuntime::children(Handle h) const { return object(h).children; }

std::vector<Handle> WindowRuntime::tree(Handle h) const {
  std::vector<Handle> out{h};
  for (Handle c : object(h).children) {
    std::vector<Handle> sub = tree(c);
    out.insert(out.end(), sub.begin(), sub.end());
  }
  return out;
}

std::vector<Handle> WindowRuntime::figures() const { return figure_order_; }

std::vector<Handle> WindowRuntime::find_by_tag(std::string_view tag) const {
  std::vector<Handle> found;
  for (Handle fig : figure_order_) {
    for (Handle h : tree(fig)) {
      const Value t = get(h, "Tag");
      if (t.is_text() && t.text() == tag) found.push_back(h);
    }
  }
  return found;
}

std::size_t WindowRuntime::set_string_by_tag(std::string_view tag, const std::string& text) {
  const std::vector<Handle> found = find_by_tag(tag);
  for (Handle h : found) set(h, "String", Value(text));
  return found.size();
}

Value WindowRuntime::current_figure() const {
  return is_valid(current_figure_) && current_figure_ != kRoot ? Value(current_figure_) : Value();
}

void WindowRuntime::set_current_figure(Handle fig) {
  if (type_of(fig) != "figure") raise("Only a window can be the current window.");
  current_figure_ = fig;
}

void WindowRuntime::raise_figure(Handle fig) { set_current_figure(fig); }

Value WindowRuntime::callback_object() const {
  return is_valid(callback_object_) && callback_object_ != kRoot ? Value(callback_object_) : Value();
}

Value WindowRuntime::callback_figure() const {
  const std::optional<Handle> fig = figure_of(callback_object_);
  return fig ? Value(*fig) : Value();
}

void WindowRuntime::invoke_callback(Handle h) {
  if (!is_valid(h)) return;
  const Value cb = get(h, "Callback");
  if (!cb.is_list() || cb.list().items().empty()) return;
  const Handle previous = callback_object_;
  callback_object_ = h;
  try {
    const auto& words = cb.list().items();
    const std::string name = words.front().text();
    Args args;
    for (std::size_t i = 1; i < words.size(); ++i) {
      const Value& w = words[i];
      if (w.is_text() && w.text() == kCallbackObjectWord) {
        args.emplace_back(h);
      } else if (w.is_text() && w.text() == kEventDataWord) {
        args.emplace_back(Matrix());
      } else if (w.is_text() && w.text() == kHandlesWord) {
        const Value fig = callback_figure();
        args.push_back(fig.is_empty() ? Value() : appdata(fig.scalar(), std::string(kGuiDataName)));
      } else {
        args.push_back(w);
      }
    }
    if (table_ == nullptr) raise("No functions are callable by name.");
    table_->call(name, args, 0);
  } catch (const std::exception& e) {
    const std::string text = error_text(e);
    console().write_line(text);
    message_box(text, error_title(e));
  }
  callback_object_ = is_valid(previous) ? previous : -1;
}

}  // namespace lumivar::runtime
