#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The browser the web tests drive in WebKitGTK, through WebKitWebDriver: a window that
# holds a web view and nothing else, so that the window's size is the page's viewport at
# any width; its data kept under a profile folder, so that a service worker and its cache
# outlive the browser; and the errors the page meets written to a file, since WebKitGTK
# shows a program no console. Its windows are the driver's alone.
#   webkit_browser.py PROFILE ERRORS
import json
import signal
import sys

import gi

gi.require_version("Gtk", "3.0")
gi.require_version("WebKit2", "4.1")
from gi.repository import GLib, Gtk, WebKit2  # noqa: E402

# Put into every document before the page's own scripts. It runs in the page's world, as
# the page's console.error is only the page's to replace, and hands each error at once to
# this program, which keeps it past the page's next navigation.
RECORDER = """(() => {
    const report = (text) => window.webkit.messageHandlers.errors.postMessage(String(text));
    const consoleError = console.error;
    console.error = (...values) => report(values.map(String).join(" ")) ?? consoleError.apply(console, values);
    // In the capture phase, as an element's failure to load does not bubble.
    addEventListener("error", (event) => report(event instanceof ErrorEvent
        ? `${event.message} (${event.filename}:${event.lineno})`
        : `not loaded: ${event.target.src || event.target.href || event.target.localName}`), true);
    addEventListener("unhandledrejection", (event) => report(`unhandled rejection: ${event.reason}`));
    addEventListener("securitypolicyviolation", (event) =>
        report(`blocked by ${event.violatedDirective}: ${event.blockedURI}`));
})();"""
profile, errors = sys.argv[1], open(sys.argv[2], "a", encoding="utf-8")


def record(_, message):  # a JSON string a line, written out at once
    errors.write(json.dumps(message.get_js_value().to_string(), ensure_ascii=False) + "\n")
    errors.flush()


def new_view(_session):
    content = WebKit2.UserContentManager()
    frames, start = WebKit2.UserContentInjectedFrames.ALL_FRAMES, WebKit2.UserScriptInjectionTime.START
    content.add_script(WebKit2.UserScript.new(RECORDER, frames, start, None, None))
    content.connect("script-message-received::errors", record)
    content.register_script_message_handler("errors")
    # No GPU under Xvfb: drawing in software from the start spares a switch midway.
    settings = WebKit2.Settings(hardware_acceleration_policy=WebKit2.HardwareAccelerationPolicy.NEVER)
    options = dict(web_context=context, user_content_manager=content, is_controlled_by_automation=True)
    view = WebKit2.WebView(settings=settings, **options)
    window = Gtk.Window(default_width=1280, default_height=800)
    window.add(view)
    view.connect("close", lambda _: Gtk.main_quit())  # the driver's one window, closed at the session's end
    window.show_all()
    return view


manager = WebKit2.WebsiteDataManager(base_data_directory=profile + "/data", base_cache_directory=profile + "/cache")
context = WebKit2.WebContext.new_with_website_data_manager(manager)
context.set_automation_allowed(True)
context.connect("automation-started", lambda _, session: session.connect("create-web-view", new_view))
# Ended as if its window were closed, so that WebKit writes out what it keeps.
GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGTERM, lambda: Gtk.main_quit() or False)
Gtk.main()
