// Keeps the site in the browser, so that after one visit the page opens and plays with no
// network. The build writes its files' list and a digest of their contents below: a new build is
// a new worker, which keeps all of the new build's files in a cache of its own before it takes
// over (a file it cannot fetch keeps the old build whole), and takes over only once no page of
// the old build is open, so no page ever mixes two builds' files.
const BUILD = '@SITE_BUILD@';
const FILES = [@SITE_FILES@];
const CACHE = 'quillfen-' + BUILD;

// Where the browser takes static routes (Chromium), it serves this build's kept files itself,
// without starting the worker, which a visit of the kept site would otherwise wait for; the
// site's own address is kept as its index.html for that. A file not kept goes to the network,
// as below, and an address with a query comes to the worker, which ignores the query.
function routeToKept(event, scope) {
  event.addRoutes?.({
    condition: { requestMethod: 'GET',
      urlPattern: new URLPattern({ pathname: scope + '*', search: '', baseURL: self.location.origin }) },
    source: { cacheName: CACHE },
  });
}

self.addEventListener('install', event => {
  const scope = new URL(self.registration.scope).pathname;
  routeToKept(event, scope);
  event.waitUntil(caches.open(CACHE).then(async cache => {
    await cache.addAll(FILES.map(file => new Request(file, { cache: 'reload' })));
    await cache.put(scope, await cache.match('index.html'));
  }));
});

self.addEventListener('activate', event => {
  event.waitUntil(caches.keys().then(names => Promise.all(
    names.filter(name => name.startsWith('quillfen-') && name !== CACHE).map(name => caches.delete(name)))));
});

self.addEventListener('fetch', event => {
  if (event.request.method !== 'GET') return;
  const url = new URL(event.request.url);
  if (url.origin !== self.location.origin) return;
  const scope = new URL(self.registration.scope).pathname;
  const kept = url.pathname === scope ? 'index.html' : url.pathname.slice(scope.length);
  event.respondWith(caches.open(CACHE).then(async cache =>
    (FILES.includes(kept) ? (await cache.match(kept)) : null) || fetch(event.request)));
});
