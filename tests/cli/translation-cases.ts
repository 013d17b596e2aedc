<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>pelto::document</name>
    <message>
        <source>「%1」&amp;&lt;%2&gt; &quot;引用&quot; &apos;x&apos; \n は文字</source>
        <translation>&quot;%1&quot; &amp; &lt;%2&gt; &apos;x&apos;: a back\slash, \n as two characters</translation>
    </message>
    <message>
        <source>タブ</source>
        <translation>tab&#9;here, return&#13;there, &#x41;&#233;&#x1F600;</translation>
    </message>
    <message>
        <source>二行
目</source>
        <translation>Two lines,
and a line break at the end
</translation>
    </message>
    <message>
        <source>長い</source>
        <translation>A text long enough for lconvert to wrap it over lines, with &quot;quotes&quot;, a back\slash and a tab&#9;near where it wraps</translation>
    </message>
    <message>
        <source> 前後の空白 </source>
        <translation> spaces around </translation>
    </message>
    <message>
        <source>未完</source>
        <translation type="unfinished">Unfinished, which lrelease keeps</translation>
    </message>
    <message>
        <source>空</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>消えた</source>
        <translation type="vanished">Gone from the code</translation>
    </message>
    <message>
        <source>古い</source>
        <translation type="obsolete">Obsolete</translation>
    </message>
    <message>
        <source>注釈付き</source>
        <comment>a comment | with a bar</comment>
        <translation>With a comment</translation>
    </message>
    <message>
        <source>同じ</source>
        <translation>The same source in the document</translation>
    </message>
</context>
<context>
    <name>pelto::image</name>
    <message>
        <source>同じ</source>
        <translation>The same source in the image</translation>
    </message>
</context>
<context>
    <name>pelto::appstr</name>
    <message>
        <source>他</source>
        <translation>Another context, left out</translation>
    </message>
</context>
</TS>
