// The page's WebSocket to its host: sends messages, hands each answer and
// state to the page, and reconnects after a drop until the session ends.
export class Connection {
  constructor(onMessage, onStatus) {
    this.onMessage = onMessage;
    this.onStatus = onStatus;
    this.ended = false;
    this.open();
  }

  open() {
    const token = new URLSearchParams(location.search).get('token') ?? '';
    this.socket = new WebSocket(`ws://${location.host}/live?token=${encodeURIComponent(token)}`);
    this.socket.onopen = () => this.onStatus('connected');
    this.socket.onmessage = (event) => this.onMessage(JSON.parse(event.data));
    this.socket.onclose = () => {
      this.onStatus(this.ended ? 'the session has ended' : 'connection lost; trying again');
      if (!this.ended) setTimeout(() => this.open(), 1000);
    };
  }

  send(message) {
    if (this.socket.readyState === WebSocket.OPEN) this.socket.send(JSON.stringify(message));
  }
}
