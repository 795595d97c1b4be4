// What every page shares: posting a script message to the application, with
// a note on the page so that one sees what was posted (also in a browser,
// where there is no application to hear it).
function postToApp(name, body) {
  const handlers = window.webkit && window.webkit.messageHandlers;
  const handler = handlers && handlers[name];
  if (handler) {
    handler.postMessage(body === undefined ? "" : body);
  }
  toast(handler ? "Posted " + name : name + " (no application to hear it)");
}

function toast(text) {
  const note = document.getElementById("toast");
  if (!note) return;
  note.textContent = text;
  note.classList.add("shown");
  clearTimeout(note.hideTimer);
  note.hideTimer = setTimeout(() => note.classList.remove("shown"), 2500);
}

// The local calendar day, "yyyy-MM-dd", that an entry counts for.
function localDay() {
  const now = new Date();
  const pad = (n) => String(n).padStart(2, "0");
  return now.getFullYear() + "-" + pad(now.getMonth() + 1) + "-" + pad(now.getDate());
}

// Ends the session with the API, tells the application and goes to the
// sign-in page.
async function signOut() {
  await fetch(document.body.dataset.api + "/logout", { credentials: "include" }).catch(() => {});
  postToApp("onLogout");
  location.href = "/login";
}

// Opened with "#link-cover=<path>" (percent-encoded), a page covers itself, once
// it has loaded, with one link to that path, so that a click anywhere on it is a
// click of that link: for a test that clicks with the real pointer and keys (a
// script's own click carries no keys to the browser around the page).
function linkCoverFromHash() {
  const prefix = "#link-cover=";
  document.getElementById("link-cover")?.remove();
  if (!location.hash.startsWith(prefix)) return;
  let path;
  try {
    path = decodeURIComponent(location.hash.slice(prefix.length));
  } catch {
    toast("Link cover: " + location.hash.slice(prefix.length) + " is no percent-encoded path");
    return;
  }
  const cover = document.createElement("a");
  cover.id = "link-cover";
  cover.href = path;
  cover.textContent = "A click anywhere opens " + path;
  document.body.appendChild(cover);
}
window.addEventListener("load", () => {
  linkCoverFromHash();
  window.addEventListener("hashchange", linkCoverFromHash);
});

// Every element marked data-sign-out signs out; so does any page opened with
// "#sign-out", for tests and demonstrations.
document.addEventListener("DOMContentLoaded", () => {
  for (const element of document.querySelectorAll("[data-sign-out]")) {
    element.addEventListener("click", (event) => {
      event.preventDefault();
      signOut();
    });
  }
  const signOutFromHash = () => {
    if (location.hash === "#sign-out") signOut();
  };
  signOutFromHash();
  window.addEventListener("hashchange", signOutFromHash);
});
