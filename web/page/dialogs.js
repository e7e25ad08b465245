// The module's open dialogs as the host draws them from the module's own
// template and bitmaps, with a button laid over each of its controls: a
// click names the control to the host, which hands it to the dialog's
// procedure; a disabled control does nothing.
export function showDialogs(container, dialogs, send) {
  container.replaceChildren(...dialogs.map((d) => {
    const box = document.createElement('div');
    box.className = 'dialog';
    box.setAttribute('role', 'dialog');
    box.setAttribute('aria-label', d.caption);
    const img = document.createElement('img');
    img.alt = d.caption;
    img.src = 'data:image/svg+xml;charset=utf-8,' + encodeURIComponent(d.svg);
    box.append(img);
    for (const b of d.boxes) {
      const button = document.createElement('button');
      const text = b.text.trim();
      button.setAttribute('aria-label', b.button === 'close' ? 'Close' : (text || `button ${b.button}`));
      button.disabled = !b.enabled;
      Object.assign(button.style, { left: `${b.x}px`, top: `${b.y}px`, width: `${b.w}px`, height: `${b.h}px` });
      button.addEventListener('click', () => send({ type: 'click', button: b.button }));
      box.append(button);
    }
    return box;
  }));
}
