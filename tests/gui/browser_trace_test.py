#!/usr/bin/env python3
"""What the browser host handed the system web-browser control, read from Wine's ieframe
trace while browser_host_tests runs: the order of the creation and teardown calls, the
settings, the exact arguments of every Navigate, the keys offered, that every reference to
the control is given back, and that Wine reports no error.

usage: browser_trace_test.py RUNNER TEST_EXE
RUNNER runs a Windows program (tools/wine-run.sh); the run is bounded in time.
"""

import os
import re
import subprocess
import sys

# The trace prints booleans as the VARIANT_BOOL's bits.
TRUE, FALSE = "ffffffff", "0"


def create(width=300, height=200):
    return ["GetMiscStatus", "SetClientSite(site)", "InitNew", f"DoVerb(-5, (0,0)-({width},{height}))"]


def settings(offline=FALSE, silent=FALSE, zoom=2):
    return [f"put_Offline({offline})", f"put_Silent({silent})", f"ExecWB(19, 2, {{VT_I4: {zoom}}}, no output)"]


def navigate(escaped):
    return [f'Navigate(L"{escaped}")']


def origin(path):
    return "http://127.0.0.1:PORT" + path


TEARDOWN = ["InPlaceDeactivate", "SetClientSite(null)", "Close(no save)"]
FOCUS = ["DoVerb(-4, (0,0)-(300,200))"]

# Per test of browser_host_test.cpp, the calls it makes the control see, in order.
# Navigate strings are as the trace escapes them.
EXPECTED = {
    "ContainerIsAVisibleClippingChildFilledByTheControl": create() + settings() + TEARDOWN,
    "InitialAddressIsNavigatedAtCreation": create() + settings() + navigate(origin("/initial")) + TEARDOWN,
    "EmptyInitialAddressIsNotNavigated": create() + settings() + navigate(origin("/marker")) + TEARDOWN,
    "SettingsReachTheBrowser": create() + settings(FALSE, FALSE, 2) + TEARDOWN
                               + create() + settings(TRUE, FALSE, 0) + TEARDOWN
                               + create() + settings(FALSE, TRUE, 4) + TEARDOWN
                               + create() + settings(TRUE, TRUE, 4) + TEARDOWN
                               + create() + settings(FALSE, FALSE, 0) + TEARDOWN,
    "PlainAddressIsRequestedAsGiven": create() + settings()
                                      + navigate(origin("/plain/page.html?id=7&name=x_y")) + TEARDOWN,
    "AddressesAreKeptExactlyAsWritten": create() + settings()
                                        + navigate("  " + origin("/spaces") + "  ")
                                        + navigate(origin("/crlf") + r"\r\n")
                                        + navigate(r"\r\n" + origin("/leading"))
                                        + navigate(origin(r"/\4e2d\6587"))
                                        + TEARDOWN,
    "TheSameAddressTwiceIsRequestedTwice": create() + settings() + navigate(origin("/again")) * 2 + TEARDOWN,
    "AnEmptyAddressIsStoredAndStillNavigated": create() + settings() + navigate(origin("/first")) + navigate("")
                                               + TEARDOWN,
    "TheControlFollowsTheContainerSize": create() + settings() + TEARDOWN,
    "DestroyingTheParentTearsEverythingDown": create() + settings() + navigate(origin("/initial"))
                                              + navigate(origin("/in-flight")) + TEARDOWN,
    "FocusGivenToTheContainerGoesIntoTheControl": create() + settings() + FOCUS + TEARDOWN,
    # One key offered while the focus is on the edit box (not passed on), one inside.
    "KeysAreOfferedOnlyWhileTheFocusIsInside": create() + settings() + FOCUS + ["TranslateAccelerator"] + TEARDOWN,
}

# A navigation still running when the control closes keeps a reference inside Wine's own
# code, for as long as the process lives. Tests that navigate nowhere show that every
# reference of ours is given back; teardown is the same code in all tests.
NAVIGATE_NOWHERE = {name for name, calls in EXPECTED.items() if not any(c.startswith("Navigate") for c in calls)}

OBJECT = r"\((?P<object>[0-9A-F]{8})\)"
PATTERNS = [
    (re.compile(r"OleObject_GetMiscStatus " + OBJECT), lambda m: "GetMiscStatus"),
    (re.compile(r"OleObject_SetClientSite " + OBJECT + r"->\((?P<site>[0-9A-F]{8})\)"),
     lambda m: "SetClientSite(null)" if m["site"] == "00000000" else "SetClientSite(site)"),
    (re.compile(r"PersistStreamInit_InitNew " + OBJECT), lambda m: "InitNew"),
    (re.compile(r"OleObject_DoVerb " + OBJECT + r"->\((?P<verb>-?\d+) \S+ \S+ \S+ \S+ (?P<rect>\S+)\)$"),
     lambda m: f"DoVerb({m['verb']}, {m['rect']})"),
    (re.compile(r"WebBrowser_put_Offline " + OBJECT + r"->\((?P<value>\w+)\)"), lambda m: f"put_Offline({m['value']})"),
    (re.compile(r"WebBrowser_put_Silent " + OBJECT + r"->\((?P<value>\w+)\)"), lambda m: f"put_Silent({m['value']})"),
    (re.compile(r"WebBrowser_ExecWB " + OBJECT + r"->\((?P<id>\d+) (?P<option>\d+) \S+ (?P<input>\{.*\}) (?P<output>\S+)\)$"),
     lambda m: f"ExecWB({m['id']}, {m['option']}, {m['input']}, "
               + ("no output" if m["output"] == "00000000" else "output") + ")"),
    (re.compile(r"WebBrowser_Navigate " + OBJECT + r"->\((?P<url>L\".*\"|\(null\)) (?P<rest>.*)\)$"),
     lambda m: f"Navigate({m['url']})" if re.fullmatch(
         r"\S+ \{VT_I4: 0\} \S+ \{VT_BSTR: \(null\)\} \S+ \{VT_EMPTY\} \S+ \{VT_BSTR: \(null\)\}", m["rest"])
     else f"Navigate({m['url']}) with other arguments: {m['rest']}"),
    (re.compile(r"OleInPlaceObject_InPlaceDeactivate " + OBJECT), lambda m: "InPlaceDeactivate"),
    (re.compile(r"OleObject_Close " + OBJECT + r"->\((?P<option>\d+)\)"),
     lambda m: "Close(no save)" if m["option"] == "1" else f"Close({m['option']})"),
    (re.compile(r"InPlaceActiveObject_TranslateAccelerator " + OBJECT), lambda m: "TranslateAccelerator"),
]
RUN = re.compile(r"^\[ RUN      \] BrowserHostTest\.(\w+)")
END = re.compile(r"^\[ +(OK|FAILED) +\] BrowserHostTest\.")
CREATED = re.compile(r":ieframe:create_webbrowser ")
# The class factory asks the new control for IOleObject first: that names its address.
FIRST_CALL = re.compile(r":ieframe:WebBrowser_QueryInterface " + OBJECT + r"->\(IID_IOleObject ")
RELEASED = re.compile(r":ieframe:WebBrowser_Release " + OBJECT + r" ref=0$")
ERROR = re.compile(r"^[0-9a-f]{4}:err:")


def read_trace(runner, exe):
    env = dict(os.environ, WINEDEBUG="-all,+ieframe,err+all")
    run = subprocess.run([runner, exe, "--gtest_filter=BrowserHostTest.*"], env=env, stdout=subprocess.PIPE,
                         stderr=subprocess.STDOUT, timeout=300)
    # gtest flushes at each test's start and end, the trace is unbuffered: one stream in order.
    return run.returncode, run.stdout.decode("latin-1").replace("\r\n", "\n").splitlines()


def check(lines):
    problems = []
    events = {}
    test = None
    controls = []          # [test, released] in creation order
    current = {}           # object address -> index in controls
    awaiting_address = []  # controls created whose address is not known yet
    for raw in lines:
        line = re.sub(r"127\.0\.0\.1:\d+", "127.0.0.1:PORT", raw.rstrip())
        if (start := RUN.match(line)):
            test = start[1]
            events[test] = []
            continue
        if END.match(line):
            test = None
            continue
        if CREATED.search(line):
            controls.append([test, False])
            awaiting_address.append(len(controls) - 1)
            continue
        if (call := FIRST_CALL.search(line)) and awaiting_address:
            current[call["object"]] = awaiting_address.pop(0)
        if (gone := RELEASED.search(line)) and gone["object"] in current:
            controls[current.pop(gone["object"])][1] = True
        if test is None:
            continue
        if ERROR.match(line):
            problems.append(f"{test}: Wine reports an error: {line}")
        for pattern, name in PATTERNS:
            if (found := pattern.search(line)):
                event = name(found)
                # Close lets go of the client site itself.
                if not (event == "SetClientSite(null)" and events[test][-1:] == ["Close(no save)"]):
                    events[test].append(event)
                break

    for name, expected in EXPECTED.items():
        if name not in events:
            problems.append(f"{name}: did not run")
        elif events[name] != expected:
            problems.append(f"{name}: the control saw\n    " + "\n    ".join(events[name])
                            + "\n  expected\n    " + "\n    ".join(expected))
    for name in events.keys() - EXPECTED.keys():
        problems.append(f"{name}: no expectation here; add one")
    for name, released in controls:
        if not released and name in NAVIGATE_NOWHERE:
            problems.append(f"{name}: a reference to the control was never given back")
    return problems


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    returncode, lines = read_trace(sys.argv[1], sys.argv[2])
    problems = check(lines)
    if returncode != 0:
        # Its own report, without the trace.
        print("\n".join(line for line in lines if not re.match(r"^[0-9a-f]{4}:", line)))
        problems.append(f"browser_host_tests exited with {returncode}")
    for problem in problems:
        print(problem)
    print(f"{len(EXPECTED)} tests traced, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
