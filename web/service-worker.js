// Keeps the site in the browser, so that after one visit the page opens and plays with no
// network. The build writes its files' list and a digest of their contents below: a new build is
// a new worker, which keeps all of the new build's files in a cache of its own before it takes
// over (a file it cannot fetch keeps the old build whole), and takes over only once no page of
// the old build is open, so no page ever mixes two builds' files.
const BUILD = '@SITE_BUILD@';
const FILES = [@SITE_FILES@];
const CACHE = 'quillfen-' + BUILD;

self.addEventListener('install', event => {
  event.waitUntil(caches.open(CACHE).then(cache => cache.addAll(FILES.map(file => new Request(file, { cache: 'reload' })))));
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
