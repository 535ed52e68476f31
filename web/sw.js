// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps the site for use without a network. The build fills in the files and a version
// taken from their content, so that a changed site replaces the cache and an unchanged
// one keeps it.
const cacheName = "velinora-@VERSION@";
const files = @FILES@;

self.addEventListener("install", (event) => {
    event.waitUntil(caches.open(cacheName).then((cache) => cache.addAll(files)).then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
    event.waitUntil(caches.keys()
        .then((names) => Promise.all(names.filter((name) => name !== cacheName).map((name) => caches.delete(name))))
        .then(() => self.clients.claim()));
});

// The page, whatever its address's query, and its files come from the cache first.
self.addEventListener("fetch", (event) => {
    if (event.request.method !== "GET") {
        return;
    }
    const wanted = event.request.mode === "navigate" ? "./" : event.request;
    event.respondWith(caches.match(wanted, { cacheName }).then((hit) => hit || fetch(event.request)));
});
