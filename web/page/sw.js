// The site's files, kept for working offline: every file the site was built
// with is cached when the page first loads, and answered from the cache from
// then on. build-page.sh writes the list and the version (a digest of the
// files), so a new build replaces the old cache.
const kFiles = ['./' /* @FILES@ */];
// The page runs one of the two engines and says which when it registers this
// worker (?engine=threads or single): only that one is kept.
const kEngine = new URL(self.location.href).searchParams.get('engine');
const kVersion = `pelto-@VERSION@-${kEngine}`;
const kUnused = kEngine === 'threads' ? /^pelto-engine\./ : /^pelto-engine-threads\./;

self.addEventListener('install', (event) => {
  // What the page has fetched already comes from the browser's own cache.
  const files = kFiles
    .filter((file) => !kUnused.test(file))
    .map((file) => new Request(file, { cache: 'force-cache' }));
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
