// The module's public face, run inside the module's factory: convert() takes
// and gives bytes and throws an Error with the converter's message.
Module['convert'] = function (document, options) {
  options = options || {};
  if (!(document instanceof Uint8Array)) throw new TypeError('convert: the document must be a Uint8Array');
  const preferences = options.preferences;
  if (preferences !== undefined && preferences !== null && !(preferences instanceof Uint8Array))
    throw new TypeError('convert: preferences must be a Uint8Array');
  const result = Module['convertBytes'](document, !!options.classic, preferences === undefined ? null : preferences);
  if (typeof result === 'string') throw new Error(result);
  return result;
};
