#pragma once

// The styles every page carries inline, so a page can be mailed or copied
// alone.
inline const char* const kPageStyle =
    "body{font-family:sans-serif;margin:1.5em;max-width:60em;color:#222}"
    "table{border-collapse:collapse;margin:.5em 0}th,td{border:1px solid #bbb;padding:.2em .5em;text-align:left}"
    "td.n{text-align:right}caption{text-align:left;font-weight:bold}"
    ".leyenda{columns:3;list-style:none;padding:0;font-size:.9em}"
    ".muestra{display:inline-block;width:2.2em;text-align:center;border:1px solid #999;font-size:.8em}"
    "svg.mapa{max-width:100%;height:auto}.nota{font-size:.9em;color:#555}";
