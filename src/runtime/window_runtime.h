#pragma once
// The window runtime: one object model of windows and controls shared by the
// headless realisation (tests, batch tool) and the Qt realisation (the window
// program). The model is the truth; a realisation mirrors it on screen
// through the on_* hooks and pushes what the user does back into it
// (store_user_edit for typed text, invoke_callback for clicks,
// close_figure for a closed window).
//
// Handles are doubles; the root object (the screen) is 0 and handles are never
// reused while the program runs. Objects have a type ("root", "figure",
// "uicontrol"), a parent, children, properties by name (names compare
// case-insensitively; the case of the first store is kept) and application
// data by name. Reading "type", "parent" or "children" gives the object's own
// structure.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/console.h"
#include "runtime/function_table.h"
#include "runtime/progress_monitor.h"
#include "runtime/value.h"

namespace lumivar::runtime {

using Handle = double;
constexpr Handle kRoot = 0.0;

// The application-data name under which a window keeps its handles table.
inline constexpr std::string_view kGuiDataName = "UsedByGUIData_m";

// Words of a callback that stand for something other than themselves.
inline constexpr std::string_view kCallbackObjectWord = "$object";
inline constexpr std::string_view kEventDataWord = "$event";
inline constexpr std::string_view kHandlesWord = "$handles";

// An open-file dialog's answer: a file name and the folder holding it (ending
// in a separator), or a cancel.
struct FileChoice {
  bool cancelled = true;
  std::string name;
  std::string folder;
};

// Frame around a window's inner rectangle, in pixels: outer = inner grown by these.
struct FrameInsets {
  double left = 0, right = 0, bottom = 0, top = 0;
};

class WindowRuntime {
 public:
  WindowRuntime();
  virtual ~WindowRuntime();
  WindowRuntime(const WindowRuntime&) = delete;
  WindowRuntime& operator=(const WindowRuntime&) = delete;

  // --- services the program calls ---------------------------------------

  void set_function_table(const FunctionTable* table) { table_ = table; }
  const FunctionTable* function_table() const { return table_; }
  void set_console(Console* console) { console_ = console; }
  Console& console() { return *console_; }

  // Shows a text with a title and returns at once.
  virtual void message_box(const std::string& text, const std::string& title) = 0;
  // Asks for a file; the dialog starts in the current working folder.
  virtual FileChoice open_file_dialog(const std::string& filter, const std::string& title) = 0;
  // Processes pending drawing and size changes.
  virtual void flush() {}
  // Makes `fig` the current window and brings it to the front.
  virtual void raise_figure(Handle fig);
  // Runs `start`, then delivers events until the last window closes; returns
  // the exit status.
  virtual int main_loop(const std::function<void()>& start) = 0;
  // Starts showing the progress of a long action titled `title`; the
  // display lasts as long as the monitor. nullptr (the default) when this
  // realisation shows none, and the action then runs to its end uncancelled.
  virtual std::unique_ptr<ProgressMonitor> begin_progress(const std::string& /*title*/) {
    return nullptr;
  }

  // --- object model ------------------------------------------------------

  Handle create(const std::string& type, Handle parent);
  // Closes a window (or deletes an object) with all it contains.
  void destroy(Handle h);
  bool is_valid(Handle h) const;

  // Raises an Error for an invalid handle; an unknown property reads as empty.
  Value get(Handle h, std::string_view name) const;
  void set(Handle h, std::string_view name, Value v);

  Value appdata(Handle h, const std::string& name) const;  // empty if never written
  void set_appdata(Handle h, const std::string& name, Value v);

  std::string type_of(Handle h) const;
  // Nothing for the root.
  std::optional<Handle> parent_of(Handle h) const;
  // The window containing `h` (`h` itself when it is one); nothing when `h`
  // is not a valid handle or its chain of parents ends without a window (at
  // the root). Every walk from a control up to its window goes through here.
  std::optional<Handle> figure_of(Handle h) const;
  std::vector<Handle> children(Handle h) const;
  // The object and everything below it, depth-first, each object before its children.
  std::vector<Handle> tree(Handle h) const;
  // Open windows, oldest first.
  std::vector<Handle> figures() const;
  // Every object of the open windows whose Tag equals `tag` exactly, in
  // window order and tree order.
  std::vector<Handle> find_by_tag(std::string_view tag) const;
  // Sets the String of every object tagged `tag`; returns how many there were.
  std::size_t set_string_by_tag(std::string_view tag, const std::string& text);

  // Empty matrix when there is none.
  Value current_figure() const;
  void set_current_figure(Handle fig);
  Value callback_object() const;
  Value callback_figure() const;

  // Creates the window a layout file describes and returns its handle. A
  // name without a folder is looked up in the program folder (beside the
  // executable), then among the layouts compiled into the program; never in
  // the working folder.
  Handle load_layout(const std::string& filename);
  void set_program_folder(std::string folder) { program_folder_ = std::move(folder); }
  static void register_builtin_layout(const std::string& name, std::string json_text);

  // --- what a realisation calls ------------------------------------------

  // Runs the object's Callback (a list of words: function name and
  // arguments) through the function table. An error escaping it goes to the
  // console and into a message box titled "Error".
  void invoke_callback(Handle h);
  // Stores what the user typed without echoing it back to the screen.
  void store_user_edit(Handle h, std::string_view name, Value v);
  // The user closed a window.
  void close_figure(Handle fig) { destroy(fig); }

 protected:
  virtual void on_created(Handle) {}
  virtual void on_property_set(Handle, const std::string& /*lower-case name*/) {}
  virtual void on_destroyed(Handle) {}
  // Outer rectangle = inner rectangle grown by this frame (for "outerposition").
  virtual FrameInsets frame_insets(Handle) const { return {}; }

 private:
  struct Property {
    std::string name;
    Value value;
  };
  struct Object {
    std::string type;
    Handle parent = kRoot;
    std::vector<Handle> children;
    std::map<std::string, Property> props;  // keyed by lower-case name
    std::map<std::string, Value> appdata;
  };
  const Object& object(Handle h) const;
  Object& object(Handle h);
  void set_raw(Handle h, std::string_view name, Value v);

  std::map<Handle, Object> objects_;
  std::vector<Handle> figure_order_;
  std::int64_t next_handle_ = 1;
  Handle current_figure_ = -1;
  Handle callback_object_ = -1;
  const FunctionTable* table_ = nullptr;
  StreamConsole default_console_;
  Console* console_;
  std::string program_folder_;
};

std::string to_lower(std::string_view s);

}  // namespace lumivar::runtime
