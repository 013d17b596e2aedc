// Serves a built site (scripts/build-web.sh) on 127.0.0.1: node serve.mjs DIR [PORT].
// Cross-origin isolated (COOP and COEP), so that a page may use
// SharedArrayBuffer; files only from DIR, nothing from the network. The
// tests serve it through serveSite.
import { createHash } from 'node:crypto';
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { brotliCompressSync, constants, gzipSync } from 'node:zlib';
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

// Text and the engine's WebAssembly go compressed to a browser that takes it
// (Brotli, else gzip); pictures are compressed already.
const kCompressible = /^(text\/|application\/(wasm|json|manifest\+json)|image\/svg)/;
const kEncoders = {
  br: (body) => brotliCompressSync(body, { params: { [constants.BROTLI_PARAM_QUALITY]: 9 } }),
  gzip: (body) => gzipSync(body, { level: 9 }),
};
// Each file's compressed forms, by its tag and the encoding.
const made = new Map();
function compressed(body, type, tag, accepted = '') {
  if (!kCompressible.test(type) || body.length < 1024) return null;
  const encoding = Object.keys(kEncoders).find((name) =>
    new RegExp(`\\b${name}\\b`).test(accepted),
  );
  if (!encoding) return null;
  const key = `${tag} ${encoding}`;
  if (!made.has(key)) made.set(key, kEncoders[encoding](body));
  return { encoding, body: made.get(key) };
}

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
    let body;
    try {
      body = await readFile(file);
    } catch {
      response.writeHead(404, headers).end('not found');
      return;
    }
    // A file asked again comes back as "not modified" while it is the same.
    headers.ETag = `"${createHash('sha256').update(body).digest('base64url').slice(0, 22)}"`;
    if (request.headers['if-none-match'] === headers.ETag) {
      response.writeHead(304, headers).end();
      return;
    }
    headers['Content-Type'] = types[extname(file)] ?? 'application/octet-stream';
    const encoded = compressed(
      body,
      headers['Content-Type'],
      headers.ETag,
      request.headers['accept-encoding'],
    );
    if (encoded) {
      headers['Content-Encoding'] = encoded.encoding;
      headers.Vary = 'Accept-Encoding';
    }
    response.writeHead(200, headers).end(encoded?.body ?? body);
  });
  await new Promise((listening) => server.listen(port, '127.0.0.1', listening));
  server.url = `http://127.0.0.1:${server.address().port}/`;
  return server;
}

if (process.argv[1] && import.meta.url === pathToFileURL(process.argv[1]).href)
  console.log((await serveSite(process.argv[2] ?? '.', Number(process.argv[3] ?? 8080))).url);
