#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The browser the web tests drive in WebKitGTK, through WebKitWebDriver: a window that
# holds a web view and nothing else, so that the window's size is the page's viewport at
# any width; its data kept under a profile folder, so that a service worker and its cache
# outlive the browser; and the errors the page meets written to a file, since WebKitGTK
# shows a program no console. Its windows are the driver's alone.
#   webkit_browser.py --profile FOLDER --errors FILE
import argparse
import json
import signal

import gi

gi.require_version("Gtk", "3.0")
gi.require_version("WebKit2", "4.1")
from gi.repository import GLib, Gtk, WebKit2  # noqa: E402

# Put into every document before the page's own scripts. It runs in the page's world, as
# the page's console.error is only the page's to replace, and hands each error at once to
# this program, which keeps it past the page's next navigation.
RECORDER = """(() => {
    const handler = window.webkit.messageHandlers.errors;
    const report = (text) => handler.postMessage(String(text));
    const consoleError = console.error;
    console.error = (...values) => {
        report(values.map(String).join(" "));
        return consoleError.apply(console, values);
    };
    // In the capture phase, as an element's failure to load does not bubble.
    addEventListener("error", (event) => report(event instanceof ErrorEvent
        ? `${event.message} (${event.filename}:${event.lineno})`
        : `not loaded: ${event.target.src || event.target.href || event.target.localName}`), true);
    addEventListener("unhandledrejection", (event) => report(`unhandled rejection: ${event.reason}`));
    addEventListener("securitypolicyviolation", (event) =>
        report(`blocked by ${event.violatedDirective}: ${event.blockedURI}`));
})();"""


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--profile", required=True)
    parser.add_argument("--errors", required=True)
    arguments = parser.parse_args()
    errors = open(arguments.errors, "a", encoding="utf-8")

    def record(text):  # a JSON string a line, written out at once
        errors.write(json.dumps(text, ensure_ascii=False) + "\n")
        errors.flush()

    def failed(_view, _event, uri, error):  # a page not opened, which WebDriver does not tell
        if not error.matches(WebKit2.NetworkError.quark(), WebKit2.NetworkError.CANCELLED):
            record(f"not opened: {uri}: {error.message}")
        return False

    manager = WebKit2.WebsiteDataManager(
        base_data_directory=arguments.profile + "/data", base_cache_directory=arguments.profile + "/cache"
    )
    context = WebKit2.WebContext.new_with_website_data_manager(manager)
    windows = set()

    def new_view(_session):
        content = WebKit2.UserContentManager()
        frames, start = WebKit2.UserContentInjectedFrames.ALL_FRAMES, WebKit2.UserScriptInjectionTime.START
        content.add_script(WebKit2.UserScript.new(RECORDER, frames, start, None, None))
        content.connect("script-message-received::errors", lambda _, result: record(result.get_js_value().to_string()))
        content.register_script_message_handler("errors")
        # No GPU under Xvfb: drawing in software from the start spares a switch midway.
        settings = WebKit2.Settings(hardware_acceleration_policy=WebKit2.HardwareAccelerationPolicy.NEVER)
        view = WebKit2.WebView(
            web_context=context, user_content_manager=content, settings=settings, is_controlled_by_automation=True
        )
        view.connect("load-failed", failed)
        window = Gtk.Window(default_width=1280, default_height=800)
        window.add(view)
        windows.add(window)

        def closed(_):
            windows.discard(window)
            if not windows:
                Gtk.main_quit()

        window.connect("destroy", closed)
        view.connect("close", lambda _: window.destroy())
        window.show_all()
        return view

    context.set_automation_allowed(True)
    context.connect("automation-started", lambda _, session: session.connect("create-web-view", new_view))
    # Ended as if its windows were closed, so that WebKit writes out what it keeps.
    GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGTERM, lambda: Gtk.main_quit() or False)
    Gtk.main()


if __name__ == "__main__":
    main()
