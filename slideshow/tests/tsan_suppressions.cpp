// Qt scales and converts large images on its own thread pool and synchronises that pool inside its
// libraries, where ThreadSanitizer cannot see it; the pool threads also run GLib code for Qt's event
// dispatcher, which allocates and frees for them. What it reports from memory calls made inside Qt or
// GLib is therefore not a race of ours; our own accesses stay checked.
extern "C" const char* __tsan_default_suppressions() {
    return "called_from_lib:libQt6Core.so.6\n"
           "called_from_lib:libQt6Gui.so.6\n"
           "called_from_lib:libglib-2.0.so.0\n";
}
