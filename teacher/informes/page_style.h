#pragma once

// The styles every page carries inline, so a page can be mailed or copied
// alone.
inline const char* const kPageStyle =
    "body{font-family:sans-serif;margin:1.5em;max-width:60em;color:#222}"
    "table{border-collapse:collapse;margin:.5em 0}th,td{border:1px solid #bbb;padding:.2em .5em;text-align:left}"
    "td.n{text-align:right}caption{text-align:left;font-weight:bold}"
    ".leyenda{columns:3;list-style:none;padding:0;font-size:.9em}"
    ".muestra{display:inline-block;width:2.2em;text-align:center;border:1px solid #999;font-size:.8em}"
    "svg.mapa{max-width:100%;height:auto}.nota{font-size:.9em;color:#555}"
    // On paper a level fits a few sheets: the drawing on one page of its
    // own size, the long tables of messages and steps in narrow type and
    // side by side columns.
    "@media print{body{margin:0;max-width:none;font-size:9pt;color:#000}.nota{color:#333}"
    "svg.mapa{display:block;max-height:24cm;width:auto;max-width:100%;break-inside:avoid}"
    "h2{break-after:avoid}tr{break-inside:avoid}th,td{padding:0 .3em}"
    ".columnas{columns:3;column-gap:1.2em;font-size:7pt;line-height:1.15}.columnas.estrechas{columns:5}"
    ".columnas table{margin:0}a{color:#000}}";
