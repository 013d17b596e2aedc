// The site's files, kept for working offline: every file the site was built
// with is cached when the page first loads, and answered from the cache from
// then on. build-page.sh writes the list and the version (a digest of the
// files), so a new build replaces the old cache.
const kVersion = 'pelto-@VERSION@';
const kFiles = ['./', @FILES@];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(kVersion).then((cache) => cache.addAll(kFiles)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((n) => n.startsWith('pelto-') && n !== kVersion).map((n) => caches.delete(n))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(caches.open(kVersion)
    .then((cache) => cache.match(request, {ignoreSearch: true}))
    .then((cached) => cached ?? fetch(request)));
});
