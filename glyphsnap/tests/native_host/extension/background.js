// Talks to Glyphsnap through the registered native-messaging host, as an extension would, and
// hands what came back to the reporting host, which writes it where the test reads it.
async function run() {
  const request = await (await fetch(chrome.runtime.getURL("request.json"))).json();
  const replies = [];
  const report = (outcome) =>
    chrome.runtime.sendNativeMessage("vorlin.glyphsnap.test_report", outcome);

  const port = chrome.runtime.connectNative("vorlin.glyphsnap");
  port.onMessage.addListener((reply) => {
    replies.push(reply);
    if (replies.length === 2) {
      report({ replies });
      port.disconnect();
    }
  });
  port.onDisconnect.addListener(() => {
    const error = chrome.runtime.lastError;
    report({ replies, disconnected: error ? error.message : "" });
  });
  port.postMessage({ image: request.image });
  port.postMessage({ action: "edit_image", image: request.image });
}

run();
