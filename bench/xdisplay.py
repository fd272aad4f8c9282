"""The X display seen from the benchmark: top-level windows, screen pixels, the pointer and
the keys, through libX11 and libXtst with ctypes, so that polling costs a few hundred
microseconds rather than a process start (xdotool, import) each time."""
import ctypes
import ctypes.util

Window = ctypes.c_ulong
Atom = ctypes.c_ulong
IS_VIEWABLE = 2
Z_PIXMAP = 2
ALL_PLANES = ctypes.c_ulong(~0 & 0xFFFFFFFFFFFFFFFF)


class XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int), ("height", ctypes.c_int),
                ("border_width", ctypes.c_int), ("depth", ctypes.c_int), ("visual", ctypes.c_void_p),
                ("root", Window), ("class_", ctypes.c_int), ("bit_gravity", ctypes.c_int),
                ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int),
                ("backing_planes", ctypes.c_ulong), ("backing_pixel", ctypes.c_ulong),
                ("save_under", ctypes.c_int), ("colormap", ctypes.c_ulong), ("map_installed", ctypes.c_int),
                ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
                ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


class XClassHint(ctypes.Structure):
    _fields_ = [("res_name", ctypes.c_void_p), ("res_class", ctypes.c_void_p)]


class XImage(ctypes.Structure):
    # Only the leading fields; the image is released with XDestroyImage.
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int)]


ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)


class TopLevel:
    def __init__(self, window, name, title, x, y, width, height):
        self.window, self.name, self.title = window, name, title
        self.x, self.y, self.width, self.height = x, y, width, height

    def __repr__(self):
        return "<%s %r %dx%d+%d+%d>" % (self.name, self.title, self.width, self.height, self.x, self.y)


class Display:
    def __init__(self):
        self.x = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        self.xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")
        x = self.x
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XDefaultRootWindow.restype = Window
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XQueryTree.argtypes = [ctypes.c_void_p, Window, ctypes.POINTER(Window), ctypes.POINTER(Window),
                                 ctypes.POINTER(ctypes.POINTER(Window)), ctypes.POINTER(ctypes.c_uint)]
        x.XGetWindowAttributes.argtypes = [ctypes.c_void_p, Window, ctypes.POINTER(XWindowAttributes)]
        x.XGetClassHint.argtypes = [ctypes.c_void_p, Window, ctypes.POINTER(XClassHint)]
        x.XFree.argtypes = [ctypes.c_void_p]
        x.XInternAtom.restype = Atom
        x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        x.XGetWindowProperty.argtypes = [ctypes.c_void_p, Window, Atom, ctypes.c_long, ctypes.c_long, ctypes.c_int,
                                         Atom, ctypes.POINTER(Atom), ctypes.POINTER(ctypes.c_int),
                                         ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_ulong),
                                         ctypes.POINTER(ctypes.c_void_p)]
        x.XGetImage.restype = ctypes.POINTER(XImage)
        x.XGetImage.argtypes = [ctypes.c_void_p, Window, ctypes.c_int, ctypes.c_int, ctypes.c_uint, ctypes.c_uint,
                                ctypes.c_ulong, ctypes.c_int]
        x.XDestroyImage.argtypes = [ctypes.POINTER(XImage)]
        x.XGetSelectionOwner.restype = Window
        x.XGetSelectionOwner.argtypes = [ctypes.c_void_p, Atom]
        x.XStringToKeysym.restype = ctypes.c_ulong
        x.XStringToKeysym.argtypes = [ctypes.c_char_p]
        x.XKeysymToKeycode.restype = ctypes.c_ubyte
        x.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        x.XFlush.argtypes = [ctypes.c_void_p]
        x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        x.XDisplayWidth.argtypes = [ctypes.c_void_p, ctypes.c_int]
        x.XDisplayHeight.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                                   ctypes.c_ulong]
        self.xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]

        self.display = x.XOpenDisplay(None)
        if not self.display:
            raise RuntimeError("cannot open the X display")
        # Windows of the program come and go while we look: an X error is no reason to stop.
        self._on_error = ERROR_HANDLER(lambda display, event: 0)
        x.XSetErrorHandler(self._on_error)
        self.root = x.XDefaultRootWindow(self.display)
        self.width = x.XDisplayWidth(self.display, 0)
        self.height = x.XDisplayHeight(self.display, 0)
        self.net_wm_name = x.XInternAtom(self.display, b"_NET_WM_NAME", 0)
        self.utf8 = x.XInternAtom(self.display, b"UTF8_STRING", 0)
        self.wm_name = x.XInternAtom(self.display, b"WM_NAME", 0)
        self.clipboard = x.XInternAtom(self.display, b"CLIPBOARD", 0)

    def _property(self, window, atom, kind):
        actual, fmt = Atom(), ctypes.c_int()
        count, after, data = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_void_p()
        if self.x.XGetWindowProperty(self.display, window, atom, 0, 4096, 0, kind, ctypes.byref(actual),
                                     ctypes.byref(fmt), ctypes.byref(count), ctypes.byref(after),
                                     ctypes.byref(data)) != 0 or not data.value:
            return None
        try:
            return ctypes.string_at(data.value, count.value) if fmt.value == 8 else None
        finally:
            self.x.XFree(data)

    def _title(self, window):
        raw = self._property(window, self.net_wm_name, self.utf8)
        if raw is None:
            raw = self._property(window, self.wm_name, 0)  # AnyPropertyType
        return raw.decode("utf-8", "replace") if raw is not None else ""

    def viewable(self, class_name):
        """The viewable top-level windows whose WM_CLASS name is class_name."""
        root, parent = Window(), Window()
        children, count = ctypes.POINTER(Window)(), ctypes.c_uint()
        if not self.x.XQueryTree(self.display, self.root, ctypes.byref(root), ctypes.byref(parent),
                                 ctypes.byref(children), ctypes.byref(count)):
            return []
        windows = [children[i] for i in range(count.value)]
        if children:
            self.x.XFree(children)
        found = []
        for window in windows:
            attributes = XWindowAttributes()
            if not self.x.XGetWindowAttributes(self.display, window, ctypes.byref(attributes)):
                continue
            if attributes.map_state != IS_VIEWABLE:
                continue
            hint = XClassHint()
            if not self.x.XGetClassHint(self.display, window, ctypes.byref(hint)):
                continue
            name = ctypes.string_at(hint.res_name).decode("utf-8", "replace") if hint.res_name else ""
            for pointer in (hint.res_name, hint.res_class):
                if pointer:
                    self.x.XFree(pointer)
            if name.lower() != class_name.lower():
                continue
            found.append(TopLevel(window, name, self._title(window), attributes.x, attributes.y,
                                  attributes.width, attributes.height))
        return found

    def pixels(self, left, top, width, height):
        """(bytes, bytes_per_line) of the screen rectangle, 4 bytes a pixel: B, G, R, pad."""
        image = self.x.XGetImage(self.display, self.root, left, top, width, height, ALL_PLANES, Z_PIXMAP)
        if not image:
            return None, 0
        try:
            content = image.contents
            if content.bits_per_pixel != 32:
                raise RuntimeError("expected a 32-bit screen, got %d bits a pixel" % content.bits_per_pixel)
            return ctypes.string_at(content.data, content.bytes_per_line * content.height), content.bytes_per_line
        finally:
            self.x.XDestroyImage(image)

    def painted_share(self, window, columns=24, rows=12):
        """The share of a grid of points inside the window that is no longer black."""
        data, stride = self.pixels(window.x, window.y, window.width, window.height)
        if data is None:
            return 0.0
        lit = 0
        for r in range(rows):
            y = (2 * r + 1) * window.height // (2 * rows)
            for c in range(columns):
                i = y * stride + (2 * c + 1) * window.width // (2 * columns) * 4
                if data[i:i + 3] != b"\0\0\0":
                    lit += 1
        return lit / (columns * rows)

    def clipboard_owned(self):
        return self.x.XGetSelectionOwner(self.display, self.clipboard) != 0

    def move(self, x, y):
        self.xtst.XTestFakeMotionEvent(self.display, 0, x, y, 0)
        self.x.XSync(self.display, 0)

    def click(self):
        self.xtst.XTestFakeButtonEvent(self.display, 1, 1, 0)
        self.xtst.XTestFakeButtonEvent(self.display, 1, 0, 0)
        self.x.XSync(self.display, 0)

    def _keycode(self, name):
        code = self.x.XKeysymToKeycode(self.display, self.x.XStringToKeysym(name.encode()))
        if not code:
            raise RuntimeError("no key for %s" % name)
        return code

    def key(self, *names):
        """Presses the keys in order, then releases them in reverse: key("Control_L", "v")."""
        codes = [self._keycode(name) for name in names]
        for code in codes:
            self.xtst.XTestFakeKeyEvent(self.display, code, 1, 0)
        for code in reversed(codes):
            self.xtst.XTestFakeKeyEvent(self.display, code, 0, 0)
        self.x.XSync(self.display, 0)
