// A build tool: the page's English table from the gettext file that lconvert
// makes of translations/pelto_en.ts, every context, as a module whose default
// export maps "context\u0004source" to the translation. Every text the page's
// files name ("context|source", in data-t attributes and in the scripts) must
// have one, or nothing is written.
//   node make-texts.mjs FILE.po OUT.mjs PAGE-FILE...
import { readFileSync, writeFileSync } from 'node:fs';

const [po, out, ...pageFiles] = process.argv.slice(2);
const table = {};
let message = {},
  field = null;

// A message ends at the next one's first keyword; lconvert writes the context
// as "context|comment".
function flush() {
  if (message.msgctxt !== undefined && message.msgid && message.msgstr) {
    const context = message.msgctxt.split('|')[0];
    table[`${context}\u0004${message.msgid}`] ??= message.msgstr;
  }
  message = {};
}

readFileSync(po, 'utf8')
  .split('\n')
  .forEach((line, index) => {
    if (!line || line.startsWith('#')) return;
    const keyword = /^(msgctxt|msgid|msgstr)\s+(".*")$/.exec(line);
    const literal = keyword ? keyword[2] : line;
    if (keyword) {
      if (keyword[1] === 'msgctxt' || (keyword[1] === 'msgid' && message.msgid !== undefined))
        flush();
      field = keyword[1];
      message[field] = '';
    }
    // gettext's literals are C's, whose escapes lconvert writes as JSON spells them.
    try {
      if (!field || !literal.startsWith('"')) throw new Error('not a string');
      message[field] += JSON.parse(literal);
    } catch (error) {
      console.error(`make-texts: ${po}:${index + 1}: ${error.message}`);
      process.exit(1);
    }
  });
flush();

// The page's texts, as its markup and scripts name them.
const entities = { '&amp;': '&', '&lt;': '<', '&gt;': '>', '&quot;': '"' };
const missing = new Set();
for (const file of pageFiles)
  for (const [, quoted] of readFileSync(file, 'utf8').matchAll(
    /["'`](pelto::\w+\|[^"'`]*)["'`]/g,
  )) {
    const key = quoted.replace(/&\w+;/g, (entity) => entities[entity] ?? entity);
    const bar = key.indexOf('|');
    if (!table[`${key.slice(0, bar)}\u0004${key.slice(bar + 1)}`]) missing.add(`${file}: ${key}`);
  }
if (missing.size) {
  console.error(
    `make-texts: no English in translations/pelto_en.ts for\n  ${[...missing].join('\n  ')}`,
  );
  process.exit(1);
}

writeFileSync(
  out,
  `// Made by make-texts.mjs from translations/pelto_en.ts.\nexport default ${JSON.stringify(table, null, 0)};\n`,
);
