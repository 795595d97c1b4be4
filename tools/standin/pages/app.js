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

// Opened with "#control-click=<path>" (percent-encoded), a page clicks its
// first link whose href is exactly that path, once it has loaded, as a click
// with Control held: what the page's own listeners see as a Control-click,
// without a pointer. WebKitGTK passes the keys of a click that a script made
// on to no navigation decision, so to the browser around the page it is a
// plain click of the link.
function controlClickFromHash() {
  const prefix = "#control-click=";
  if (!location.hash.startsWith(prefix)) return;
  let path;
  try {
    path = decodeURIComponent(location.hash.slice(prefix.length));
  } catch {
    toast("Control-click: " + location.hash.slice(prefix.length) + " is no percent-encoded path");
    return;
  }
  const link = Array.from(document.querySelectorAll("a[href]")).find((a) => a.getAttribute("href") === path);
  if (!link) {
    toast("Control-click: no link to " + path + " on this page");
    return;
  }
  link.dispatchEvent(new MouseEvent("click", { bubbles: true, cancelable: true, ctrlKey: true, view: window }));
}
window.addEventListener("load", () => {
  controlClickFromHash();
  window.addEventListener("hashchange", controlClickFromHash);
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
