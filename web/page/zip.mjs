// A ZIP archive of files stored as they are (pictures are compressed
// already), as every unzip reads it: entries by UTF-8 name, each with its
// CRC-32, the central directory after them. Dated 1980-01-01, so that the
// same files make the same archive.
import { crc32 } from './crc32.mjs';

const encoder = new TextEncoder();
const kUtf8Names = 0x0800;
const kDosDate = (0 << 9) | (1 << 5) | 1;

function header(size, fields) {
  const bytes = new Uint8Array(size);
  const view = new DataView(bytes.buffer);
  for (const [at, value, width] of fields)
    if (width === 4) view.setUint32(at, value, true);
    else view.setUint16(at, value, true);
  return bytes;
}

// files: { name: Uint8Array } in the archive's order; a Blob of type
// application/zip.
export function makeZip(files) {
  const parts = [],
    directory = [];
  let offset = 0;
  for (const [name, data] of Object.entries(files)) {
    const path = encoder.encode(name);
    // What the local header and the directory's entry both hold, from the
    // flags on: stored (method 0), at midnight (time 0).
    const common = [
      [0, kUtf8Names, 2],
      [6, kDosDate, 2],
      [8, crc32(data), 4],
      [12, data.length, 4],
      [16, data.length, 4],
      [20, path.length, 2],
    ];
    const local = header(30, [
      [0, 0x04034b50, 4],
      [4, 10, 2],
      ...common.map(([at, v, w]) => [at + 6, v, w]),
    ]);
    parts.push(local, path, data);
    directory.push(
      header(46, [
        [0, 0x02014b50, 4],
        [4, 20, 2], // made by: MS-DOS attributes (none), so that unzip gives its defaults
        [6, 10, 2],
        ...common.map(([at, v, w]) => [at + 8, v, w]),
        [42, offset, 4],
      ]),
      path,
    );
    offset += local.length + path.length + data.length;
  }
  const centralSize = directory.reduce((n, part) => n + part.length, 0);
  const count = Object.keys(files).length;
  const end = header(22, [
    [0, 0x06054b50, 4],
    [8, count, 2],
    [10, count, 2],
    [12, centralSize, 4],
    [16, offset, 4],
  ]);
  return new Blob([...parts, ...directory, end], { type: 'application/zip' });
}
