// Hands the document over as the engine's own serialisation of the live tree; a root whose
// tag name is not "HTML" comes with its name. Runs in the program's own script world, so the
// page's scripts can neither see this nor replace what it reads.
(function () {
    'use strict';
    const root = document.documentElement;
    if (!root)
        return null;
    return root.tagName === 'HTML' ? root.outerHTML : [root.tagName, root.outerHTML];
})()
