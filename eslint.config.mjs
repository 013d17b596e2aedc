// The web code's lint (scripts/check-code.sh runs it, with Prettier for the layout).
import js from '@eslint/js';
import globals from 'globals';

export default [
  js.configs.recommended,
  {
    rules: {
      eqeqeq: 'error',
      'no-var': 'error',
      'prefer-const': 'error',
      'no-shadow': 'error',
      'no-unused-vars': ['error', { caughtErrors: 'none', ignoreRestSiblings: true }],
      'object-shorthand': 'error',
      'prefer-template': 'error',
    },
  },
  // The module, its worker and the page run in browsers, workers and Node.
  {
    files: ['web/**/*.mjs'],
    languageOptions: { globals: { ...globals.browser, ...globals.worker, ...globals.node } },
  },
  {
    files: ['web/page/sw.js'],
    languageOptions: { sourceType: 'script', globals: globals.serviceworker },
  },
  // Read by lupdate alone, never loaded.
  {
    files: ['web/page/page-texts.js'],
    languageOptions: { sourceType: 'script', globals: { QT_TRANSLATE_NOOP: 'readonly' } },
    rules: { 'no-unused-vars': 'off' },
  },
  { ignores: ['build*/', 'node_modules/', 'out/'] },
];
