// After one visit the site stays in the browser (service-worker.js) and the page opens with no
// network. A new build waits until no page of the old one is open.
export function keepSite() {
  if (!('serviceWorker' in navigator)) return;
  navigator.serviceWorker.register('service-worker.js').catch(error => {
    console.warn('The site is not kept for playing offline: ' + error.message);
  });
}
