// Hands the document's tree over in the flat, length-prefixed form the program decodes. Runs in
// the program's own script world, so the page's scripts can neither see nor change it; the walk
// is iterative so a deeply nested page can't overflow the script stack.
(function () {
    'use strict';
    const root = document.documentElement;
    if (!root)
        return null;
    const out = [];
    const str = (s) => { out.push(s.length + ':' + s); };
    const stack = [root];
    while (stack.length) {
        const n = stack.pop();
        if (n === null) {
            out.push('/');
        } else if (n.nodeType === Node.ELEMENT_NODE) {
            out.push('E');
            str(n.tagName);
            const attrs = n.attributes;
            out.push(attrs.length + ',');
            for (let i = 0; i < attrs.length; ++i) {
                str(attrs[i].name);
                str(attrs[i].value);
            }
            stack.push(null);
            const kids = n.childNodes;
            for (let j = kids.length - 1; j >= 0; --j)
                stack.push(kids[j]);
        } else if (n.nodeType === Node.TEXT_NODE || n.nodeType === Node.CDATA_SECTION_NODE) {
            out.push('T');
            str(n.data);
        } else if (n.nodeType === Node.COMMENT_NODE) {
            out.push('C');
            str(n.data);
        }
    }
    return out.join('');
})()
