// The page's side of the game, run by Emscripten's loader before the game
// starts (--pre-js): where the game draws, where its messages go, and what
// the page shows once the game has ended.

Module['canvas'] = document.getElementById('canvas');

// A right click is one of the game's clicks, not a call for the browser's menu;
// nor is a long press.
Module['canvas'].addEventListener('contextmenu', function (event) { event.preventDefault(); });

// After one visit the page plays without the network (service-worker.js keeps
// its files). Without a worker (a private window, an old browser) it plays
// online as before.
if ('serviceWorker' in navigator) {
  navigator.serviceWorker.register('service-worker.js').catch(function (problem) {
    console.warn('VombaPong: no play without the network here: ' + problem);
  });
}

// Called by the game from within the title click (web/browser_seam.cpp):
// a browser starts a page's sound only in a gesture, and the game opens its
// audio later. SDL takes up an audio context it finds made already.
Module['vombaStartAudio'] = function () {
  var sdl = Module['SDL2'] = Module['SDL2'] || {};
  if (!sdl.audioContext && typeof AudioContext !== 'undefined') {
    sdl.audioContext = new AudioContext();
  }
  if (sdl.audioContext && sdl.audioContext.state === 'suspended') {
    sdl.audioContext.resume();
  }
};

// The game's lines on standard error ("VombaPong: ...") are notices in the
// console; only one that ended the game is shown on the page.
var vombaMessages = [];
Module['printErr'] = function (line) {
  vombaMessages.push(line);
  console.warn(line);
};

// Called by the game as its last act (web/browser_seam.cpp), with its exit
// code. The canvas gives way to a quiet note: after ENDE, that the match is
// over and how to play again; after a failure, what went wrong.
Module['vombaGameEnded'] = function (exitCode) {
  Module['vombaExitCode'] = exitCode;
  var end = document.getElementById('end');
  if (exitCode === 0) {
    end.textContent = 'Thanks for playing. Reload the page for a new game.';
  } else {
    end.textContent = 'VombaPong had to stop. ' + vombaMessages.join(' ');
  }
  Module['canvas'].hidden = true;
  document.getElementById('how').hidden = true;
  end.hidden = false;
};
