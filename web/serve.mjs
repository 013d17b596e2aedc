// Serves a built site (scripts/build-web.sh) on 127.0.0.1: node serve.mjs DIR [PORT].
// Cross-origin isolated (COOP and COEP), so that a page may use
// SharedArrayBuffer; files only from DIR, nothing from the network.
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize, resolve } from 'node:path';

const root = resolve(process.argv[2] ?? '.');
const port = Number(process.argv[3] ?? 8080);
const types = {
  '.html': 'text/html; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.json': 'application/json',
  '.md': 'text/markdown; charset=utf-8',
  '.png': 'image/png',
  '.bmp': 'image/bmp',
  '.css': 'text/css; charset=utf-8',
  '.svg': 'image/svg+xml',
  '.webmanifest': 'application/manifest+json',
};

createServer(async (request, response) => {
  const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
  const file = normalize(join(root, path.endsWith('/') ? path + 'index.html' : path));
  const headers = {
    'Cross-Origin-Opener-Policy': 'same-origin',
    'Cross-Origin-Embedder-Policy': 'require-corp',
    'Cross-Origin-Resource-Policy': 'same-origin',
    'Cache-Control': 'no-cache',
  };
  if (!file.startsWith(root)) {
    response.writeHead(403, headers).end();
    return;
  }
  try {
    const body = await readFile(file);
    const type = types[extname(file)] ?? 'application/octet-stream';
    response.writeHead(200, { ...headers, 'Content-Type': type }).end(body);
  } catch {
    response.writeHead(404, headers).end('not found');
  }
}).listen(port, '127.0.0.1', () => console.log(`http://127.0.0.1:${port}/`));
