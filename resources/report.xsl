<?xml version="1.0" encoding="UTF-8"?>
<!-- Rapport de ventes d'un artisan pour une période de consignation (TilvarBD).
     Remplacez ce fichier par le vôtre au besoin : le programme ne l'écrase jamais. -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:output method="html" encoding="UTF-8" indent="yes"
              doctype-system="about:legacy-compat"/>

  <xsl:template match="/report">
    <html lang="fr">
      <head>
        <meta name="viewport" content="width=device-width, initial-scale=1"/>
        <title><xsl:value-of select="normalize-space(cCaption)"/> - <xsl:value-of select="artName"/></title>
        <style>
          body { font-family: "DejaVu Sans", Arial, sans-serif; margin: 2em; color: #000; background: #fff; }
          h1 { font-size: 1.4em; margin-bottom: 0.2em; }
          h2 { font-size: 1.1em; font-weight: normal; margin-top: 0; }
          table { border-collapse: collapse; width: 100%; margin-top: 1em; }
          th, td { border-bottom: 1px solid #999; padding: 0.25em 0.5em; text-align: left; }
          th { border-bottom: 2px solid #000; }
          td.num, th.num { text-align: right; white-space: nowrap; }
          tr.total td { border-top: 2px solid #000; border-bottom: none; font-weight: bold; }
          p.note { font-style: italic; }
          @media print { body { margin: 0; } }
        </style>
      </head>
      <body>
        <h1><xsl:value-of select="normalize-space(cCaption)"/> : <span class="artName"><xsl:value-of select="artName"/></span></h1>
        <h2>Période <xsl:value-of select="cTitle"/> (<xsl:value-of select="cRange"/>)</h2>
        <xsl:apply-templates select="itemDATA"/>
        <xsl:if test="note">
          <p class="note"><xsl:value-of select="note"/></p>
        </xsl:if>
      </body>
    </html>
  </xsl:template>

  <xsl:template match="itemDATA">
    <table>
      <thead>
        <tr>
          <th>Date</th>
          <xsl:if test="item/aNo"><th>Artisan</th></xsl:if>
          <th>Produit</th><th>Description</th>
          <th class="num">Prix</th><th class="num">Qté</th><th class="num">Total</th>
        </tr>
      </thead>
      <tbody>
        <xsl:for-each select="item">
          <tr class="row">
            <td><xsl:value-of select="date"/></td>
            <xsl:if test="../item/aNo"><td><xsl:value-of select="aNo"/></td></xsl:if>
            <td><xsl:value-of select="pNo"/></td>
            <td><xsl:value-of select="descript"/></td>
            <td class="num"><xsl:value-of select="valeur"/></td>
            <td class="num"><xsl:value-of select="qnt"/></td>
            <td class="num"><xsl:value-of select="tot"/></td>
          </tr>
        </xsl:for-each>
        <tr class="total">
          <td colspan="{5 + count(item[1]/aNo)}">Total des ventes</td>
          <td class="num" id="total"><xsl:value-of select="../total"/></td>
        </tr>
      </tbody>
    </table>
  </xsl:template>
</xsl:stylesheet>
