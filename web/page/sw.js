// The site's files, kept for working offline: every file the site was built
// with is cached when the page first loads, and answered from the cache from
// then on. build-page.sh writes the list and the version (a digest of the
// files), so a new build replaces the old cache.
const kVersion = 'pelto-@VERSION@';
const kFiles = ['./' /* @FILES@ */];
// The page's worker runs one of the two engines: the threaded one where the
// site is served cross-origin isolated (as this worker then is too), the
// one-thread engine elsewhere. Only that one is kept.
const kUnused = self.crossOriginIsolated ? /^pelto-engine\./ : /^pelto-engine-threads\./;

self.addEventListener('install', (event) => {
  const files = kFiles.filter((file) => !kUnused.test(file));
  event.waitUntil(
    caches
      .open(kVersion)
      .then((cache) => cache.addAll(files))
      .then(() => self.skipWaiting()),
  );
});

self.addEventListener('activate', (event) => {
  event.waitUntil(
    caches
      .keys()
      .then((names) =>
        Promise.all(
          names
            .filter((n) => n.startsWith('pelto-') && n !== kVersion)
            .map((n) => caches.delete(n)),
        ),
      )
      .then(() => self.clients.claim()),
  );
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(
    caches
      .open(kVersion)
      .then((cache) => cache.match(request, { ignoreSearch: true }))
      .then((cached) => cached ?? fetch(request)),
  );
});
