// Loads into named frames from inside the page, one request after another so they reach the
// server in the order they were given. Runs in the program's own script world.
(function (op) {
    'use strict';
    const self = window.__orvixFrames || (window.__orvixFrames = { queue: [], busy: false });

    function findFrame(doc, name) {
        for (const el of doc.querySelectorAll('frame, iframe')) {
            if (el.name === name)
                return el;
            try {
                const inner = el.contentDocument && findFrame(el.contentDocument, name);
                if (inner)
                    return inner;
            } catch (e) { /* another origin: not ours to search */ }
        }
        return null;
    }

    function charsetOf(xhr) {
        const m = /charset=([^;]+)/i.exec(xhr.getResponseHeader('Content-Type') || '');
        return m ? m[1].trim() : 'windows-1251';
    }

    function show(win, xhr) {
        let text;
        try {
            text = new TextDecoder(charsetOf(xhr)).decode(xhr.response);
        } catch (e) {
            text = new TextDecoder('windows-1251').decode(xhr.response);
        }
        const doc = win.document;
        doc.open();
        doc.write(text);
        doc.close();
        try { win.history.replaceState(null, '', xhr.responseURL); } catch (e) { }
    }

    function next() {
        self.busy = false;
        if (self.queue.length)
            run(self.queue.shift());
    }

    function run(job) {
        self.busy = true;
        const el = findFrame(document, job.frame);
        if (!el || !el.contentWindow) {
            console.warn('orvix: no frame named ' + job.frame);
            next();
            return;
        }
        const win = el.contentWindow;
        let url;
        try {
            url = new URL(job.url, win.document.baseURI).href;
        } catch (e) {
            url = new URL(job.url, document.baseURI).href;
        }
        const xhr = new XMLHttpRequest();
        xhr.open(job.body === null ? 'GET' : 'POST', url, true);
        xhr.responseType = 'arraybuffer';
        if (job.body === null) {
            xhr.setRequestHeader('Cache-Control', 'no-cache');
            xhr.setRequestHeader('Pragma', 'no-cache');
        } else {
            xhr.setRequestHeader('Content-Type', 'application/x-www-form-urlencoded');
        }
        xhr.onloadend = function () {
            if (xhr.status !== 0)
                show(win, xhr);
            else if (job.body === null)
                win.location.href = url; // another origin: a plain navigation
            else
                console.warn('orvix: post to ' + url + ' failed');
            next();
        };
        const body = job.body === null ? null : Uint8Array.from(atob(job.body), c => c.charCodeAt(0));
        xhr.send(body);
    }

    if (self.busy)
        self.queue.push(op);
    else
        run(op);
})
