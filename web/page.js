'use strict';
createBallpit({
  canvas: document.getElementById('canvas'),
  print: (line) => console.log(line),
  printErr: (line) => console.error(line),
  onStats: (caption, overlay) => { document.getElementById('stats').textContent = caption + '\n' + overlay; },
});
