// The help in the browser: it opens in a tab of its own, so a link that puts an example into the
// grid asks the page that opened the help to do it. The exercise check is the desktop's alone.
(function () {
  'use strict';

  document.addEventListener('click', (event) => {
    const link = event.target.closest('a[href^="zorvan-open:"]');
    if (!link) return;
    event.preventDefault();
    if (!window.opener) return;
    window.opener.postMessage({ zorvanOpen: link.getAttribute('href').slice('zorvan-open:'.length) }, '*');
    window.opener.focus();
  });

  for (const link of document.querySelectorAll('a[href^="zorvan-open:"]')) {
    if (!window.opener) link.title = 'Ανοίξτε τη βοήθεια από το Zorvan (F1) για να μπει το παράδειγμα στο πλέγμα.';
  }
  for (const link of document.querySelectorAll('a[href^="zorvan-check:"]')) {
    link.removeAttribute('href');
    link.title = 'Ο έλεγχος άσκησης γίνεται στο Zorvan της επιφάνειας εργασίας.';
  }
})();
