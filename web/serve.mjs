// Serves a built site (scripts/build-web.sh) on 127.0.0.1: node serve.mjs DIR [PORT].
// Cross-origin isolated (COOP and COEP), so that a page may use
// SharedArrayBuffer; files only from DIR, nothing from the network. The
// tests serve it through serveSite.
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';

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

// Resolves to the listening server, its address in url; port 0 takes a free
// one. cache is the Cache-Control every answer carries; isolated false leaves
// out the isolation, as a plain web server would.
export async function serveSite(dir, port, cache = 'no-cache', isolated = true) {
  const root = resolve(dir);
  const server = createServer(async (request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    const file = normalize(join(root, path.endsWith('/') ? `${path}index.html` : path));
    const headers = { 'Cache-Control': cache };
    if (isolated) {
      headers['Cross-Origin-Opener-Policy'] = 'same-origin';
      headers['Cross-Origin-Embedder-Policy'] = 'require-corp';
      headers['Cross-Origin-Resource-Policy'] = 'same-origin';
    }
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
  });
  await new Promise((listening) => server.listen(port, '127.0.0.1', listening));
  server.url = `http://127.0.0.1:${server.address().port}/`;
  return server;
}

if (import.meta.url === pathToFileURL(process.argv[1]).href)
  console.log((await serveSite(process.argv[2] ?? '.', Number(process.argv[3] ?? 8080))).url);
